#include <windows.h>

#include "ui/win32/window_host.h"

#include <algorithm>

#include "ui/win32/native_window.h"

namespace kelpo {
namespace {

// The system DPI, by which twips become pixels.
int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

Win32WindowHost::Win32WindowHost(WindowManager& manager, int icon_id)
    : manager_(manager), dpi_(SystemDpi()), icon_id_(icon_id), keys_([this](const MSG& message) { return TranslateKey(message); }) {}

Win32WindowHost::~Win32WindowHost() = default;

std::vector<std::unique_ptr<NativeWindow>>::iterator Win32WindowHost::OpenFormOf(const Window& window) {
  return std::find_if(open_.begin(), open_.end(), [&](const auto& form) { return &form->model() == &window; });
}

void Win32WindowHost::Shown(Window& window) {
  NativeWindow::Events events{[this, &window] { manager_.Unload(window); },
                            [this, &window] {
                              if (const auto found = OpenFormOf(window); found != open_.end()) front_ = found->get();
                            }};
  auto form = std::make_unique<NativeWindow>(window, dpi_, icon_id_, std::move(events));
  if (!form->created()) {
    manager_.Unload(window);
    return;
  }
  NativeWindow& shown = *form;
  open_.push_back(std::move(form));
  front_ = &shown;
  shown.Show();
}

void Win32WindowHost::Unloaded(Window& window) {
  const auto found = OpenFormOf(window);
  if (found != open_.end()) {
    if (front_ == found->get()) front_ = nullptr;
    (*found)->Close();
    closed_.push_back(std::move(*found));
    open_.erase(found);
  }
  // The loop ends once the running handler has returned and no window is open: a handler that
  // goes on after its own window was closed may still open the next one.
}

HWND Win32WindowHost::FrontWindow() const {
  if (front_ != nullptr) return front_->handle();
  return open_.empty() ? nullptr : open_.back()->handle();
}

bool Win32WindowHost::TranslateKey(const MSG& message) {
  return std::any_of(open_.begin(), open_.end(), [&](const auto& form) { return form->TranslateKey(message); });
}

bool Win32WindowHost::HandlePendingMessages() { return kelpo::HandlePendingMessages(keys_); }

int Win32WindowHost::RunMessageLoop() {
  MSG message{};
  while (!manager_.program_ended() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    HandleMessage(message, keys_);
    // No handler runs now: what was unloaded meanwhile can go.
    closed_.clear();
    manager_.DisposeUnloaded();
  }
  return 0;
}

}  // namespace kelpo
