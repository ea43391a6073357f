#pragma once
// The Win32 window host: realises each window the window manager shows, takes it down when
// the window is unloaded, and runs the message loop until the program ends.
#include <memory>
#include <vector>

#include "app/window_manager.h"

namespace kelpo {

class NativeForm;

class Win32WindowHost final : public WindowHost {
 public:
  explicit Win32WindowHost(WindowManager& manager);
  Win32WindowHost(const Win32WindowHost&) = delete;
  Win32WindowHost& operator=(const Win32WindowHost&) = delete;
  ~Win32WindowHost() override;

  // Realises the window and shows it. When the system refuses the window, the window is
  // unloaded, so that the program never runs on with nothing on the screen.
  void Shown(Window& window) override;
  void Unloaded(Window& window) override;

  // Handles window messages until no window is left open; returns the exit code.
  int RunMessageLoop();

 private:
  WindowManager& manager_;
  int dpi_;
  std::vector<std::unique_ptr<NativeForm>> open_;
  std::vector<std::unique_ptr<NativeForm>> closed_;  // kept until the running handler returned
};

}  // namespace kelpo
