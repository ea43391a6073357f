#pragma once
// The one owner of an operating-system handle: a registry key, a URL-cache walk, a kernel
// handle, a window, a font. Move-only; the handle is closed exactly once, when the owner is
// reset, replaced or destroyed, or by an explicit Close() whose answer the caller wants.
//
// The closer says what a handle is and how it is closed:
//   using Handle = ...;                        the handle's type
//   static constexpr Handle kNone = ...;       the value that owns nothing
//   static bool Owns(Handle h);                false for a value that names no handle of its
//                                              own (INVALID_HANDLE_VALUE, a predefined root)
//   Result Close(Handle h);                    closes it; may use the closer's own state (the
//                                              port it goes through) and report the answer
// A closer without state (or with a port it was given) is copied along with the handle.
#include <type_traits>
#include <utility>

namespace kelpo {

template <typename Closer>
class UniqueResource {
 public:
  using Handle = typename Closer::Handle;
  using CloseResult = decltype(std::declval<Closer&>().Close(std::declval<Handle>()));

  UniqueResource() = default;
  explicit UniqueResource(Handle handle, Closer closer = Closer())
      : handle_(Closer::Owns(handle) ? handle : Closer::kNone), closer_(std::move(closer)) {}
  UniqueResource(UniqueResource&& other) noexcept
      : handle_(std::exchange(other.handle_, Closer::kNone)), closer_(std::move(other.closer_)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Closer::kNone);
      closer_ = std::move(other.closer_);
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Closer::kNone; }

  // Closes the handle now and gives the closer's answer; with nothing to close, the answer a
  // default result stands for (0, success). A close that throws has still given up the handle.
  CloseResult Close() {
    if (handle_ == Closer::kNone) {
      if constexpr (!std::is_void_v<CloseResult>) return CloseResult{};
      else return;
    }
    return closer_.Close(std::exchange(handle_, Closer::kNone));
  }

  // Closes the handle, if any, and forgets whatever the close answered or threw: an owner
  // being destroyed (perhaps while unwinding) has no one to tell.
  void Reset() noexcept {
    try {
      Close();
    } catch (...) {
    }
  }

 private:
  Handle handle_ = Closer::kNone;
  Closer closer_;
};

}  // namespace kelpo
