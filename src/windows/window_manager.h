#pragma once
// Which windows are open. Loading, showing, unloading and the end of the program go through
// here; a window host, when there is one, is told so it can realise the window on the screen.
#include <memory>
#include <vector>

#include "platform/desktop.h"
#include "windows/window.h"

namespace kelpo {

// Realises windows on a screen (the Win32 window host); headless runs have none.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The window has loaded and is to be shown.
  virtual void Shown(Window& window) = 0;
  // The window has been unloaded; its object still exists until the running handler returns.
  virtual void Unloaded(Window& window) = 0;
};

class WindowManager final : public Navigator {
 public:
  explicit WindowManager(Desktop& desktop) : desktop_(desktop) {}
  ~WindowManager() override;

  void set_host(WindowHost* host) { host_ = host; }

  void Show(std::unique_ptr<Window> window) override;
  void Unload(Window& window) override;
  void EndProgram() override;
  void RunToEnd(Window& window, const std::function<void()>& operation) override;

  // The loaded windows, in the order they were loaded.
  std::vector<Window*> open_windows() const;
  // The open window of type W, if any.
  template <typename W>
  W* Find() const {
    for (const auto& window : open_)
      if (auto* found = dynamic_cast<W*>(window.get())) return found;
    return nullptr;
  }
  // True once EndProgram ran, or once the last open window was unloaded.
  bool program_ended() const { return ended_ || (ever_opened_ && open_.empty()); }
  // Destroys the windows unloaded so far. Call only when none of their handlers is running
  // (the host calls it after each message it dispatches).
  void DisposeUnloaded() { unloaded_.clear(); }

 private:
  // Ends the running-to-end state, then ends the program or unloads the window if asked.
  void CarryOutHeld(Window& window);

  Desktop& desktop_;
  WindowHost* host_ = nullptr;
  std::vector<std::unique_ptr<Window>> open_;
  std::vector<std::unique_ptr<Window>> unloaded_;
  bool ever_opened_ = false;
  bool ended_ = false;
  // While an operation runs to its end: its window, and what was asked for meanwhile.
  Window* running_to_end_ = nullptr;
  bool end_held_ = false;
  bool unload_held_ = false;
};

}  // namespace kelpo
