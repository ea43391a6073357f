#pragma once
// The Win32 window host: realises each window the window manager shows, takes it down when
// the window is unloaded, and runs the message loop until the program ends. Its pump is the
// one every wait uses, and it knows which of the program's windows is in front.
// Include only after <windows.h>.
#include <memory>
#include <vector>

#include "platform/win32/message_pump.h"
#include "windows/window_manager.h"

namespace kelpo {

class NativeWindow;

class Win32WindowHost final : public WindowHost, public ProgramWindows {
 public:
  // Every window shows the executable's icon resource `icon_id`.
  Win32WindowHost(WindowManager& manager, int icon_id);
  Win32WindowHost(const Win32WindowHost&) = delete;
  Win32WindowHost& operator=(const Win32WindowHost&) = delete;
  ~Win32WindowHost() override;

  // Realises the window and shows it. When the system refuses the window, the window is
  // unloaded, so that the program never runs on with nothing on the screen.
  void Shown(Window& window) override;
  void Unloaded(Window& window) override;

  // Handles window messages until no window is left open; returns the exit code.
  int RunMessageLoop();

  // The open window that was last activated, or else the last shown.
  HWND FrontWindow() const override;
  // One turn of the message loop's handling, for a handler that waits: the windows unloaded
  // meanwhile stay until the handler returns.
  bool HandlePendingMessages() override;

 private:
  std::vector<std::unique_ptr<NativeWindow>>::iterator OpenFormOf(const Window& window);
  // The keys that move between and press controls; true when the message was used up.
  bool TranslateKey(const MSG& message);

  WindowManager& manager_;
  int dpi_;
  int icon_id_;
  std::vector<std::unique_ptr<NativeWindow>> open_;
  std::vector<std::unique_ptr<NativeWindow>> closed_;  // kept until the running handler returned
  NativeWindow* front_ = nullptr;
  MessageFilter keys_;
};

}  // namespace kelpo
