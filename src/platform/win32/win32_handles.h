#pragma once
// The Windows handles the adapters and the window host own: kernel handles, directory
// searches, registry keys opened through the wide calls, windows and fonts, each held by the
// one owner template. Include only after <windows.h>.
#include "platform/unique_resource.h"

namespace kelpo {

struct KernelHandleCloser {
  using Handle = HANDLE;
  static constexpr HANDLE kNone = nullptr;
  // Some calls report failure as INVALID_HANDLE_VALUE, others as null: both own nothing.
  static bool Owns(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  BOOL Close(HANDLE handle) { return CloseHandle(handle); }
};

struct FindCloser {
  using Handle = HANDLE;
  static constexpr HANDLE kNone = nullptr;
  static bool Owns(HANDLE find) { return find != nullptr && find != INVALID_HANDLE_VALUE; }
  BOOL Close(HANDLE find) { return FindClose(find); }
};

struct WideKeyCloser {
  using Handle = HKEY;
  static constexpr HKEY kNone = nullptr;
  static bool Owns(HKEY key) { return key != nullptr; }
  LONG Close(HKEY key) { return RegCloseKey(key); }
};

struct WindowCloser {
  using Handle = HWND;
  static constexpr HWND kNone = nullptr;
  static bool Owns(HWND window) { return window != nullptr; }
  // A window its owner already destroyed is gone: destroy only one that still exists.
  void Close(HWND window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};

struct FontCloser {
  using Handle = HFONT;
  static constexpr HFONT kNone = nullptr;
  static bool Owns(HFONT font) { return font != nullptr; }
  BOOL Close(HFONT font) { return DeleteObject(font); }
};

using UniqueHandle = UniqueResource<KernelHandleCloser>;
using UniqueFind = UniqueResource<FindCloser>;
using UniqueWideKey = UniqueResource<WideKeyCloser>;
using UniqueWindow = UniqueResource<WindowCloser>;
using UniqueFont = UniqueResource<FontCloser>;

}  // namespace kelpo
