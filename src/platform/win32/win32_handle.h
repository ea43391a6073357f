#pragma once
// Operating-system objects owned exactly once: kernel handles, windows, fonts. Move-only.
// Include only after <windows.h>.
#include <utility>

namespace kelpo {

template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(Traits::Owned(value)) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = std::exchange(other.value_, nullptr);
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Type get() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }
  void Reset() {
    if (value_ != nullptr) Traits::Release(std::exchange(value_, nullptr));
  }

 private:
  Type value_ = nullptr;
};

struct KernelHandleTraits {
  using Type = HANDLE;
  // Some calls report failure as INVALID_HANDLE_VALUE, others as null: both own nothing.
  static HANDLE Owned(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};

struct WindowTraits {
  using Type = HWND;
  static HWND Owned(HWND window) { return window; }
  // A window its owner already destroyed is gone: destroy only one that still exists.
  static void Release(HWND window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};

struct FontTraits {
  using Type = HFONT;
  static HFONT Owned(HFONT font) { return font; }
  static void Release(HFONT font) { DeleteObject(font); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueFont = UniqueResource<FontTraits>;

}  // namespace kelpo
