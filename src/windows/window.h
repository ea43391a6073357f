#pragma once
// A window of the program: its caption, client size in twips and the controls it owns, and the
// moves a window can make (open another window, unload itself, end the program).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "windows/controls.h"

namespace kelpo {

class Window {
 public:
  Window(std::wstring name, std::wstring caption, int client_width, int client_height)
      : name_(std::move(name)), caption_(std::move(caption)), client_width_(client_width),
        client_height_(client_height) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  // The window's automation name ("FrmCheck"), by which tools outside find it.
  const std::wstring& name() const { return name_; }
  const std::wstring& caption() const { return caption_; }
  int client_width() const { return client_width_; }
  int client_height() const { return client_height_; }
  // Every control, in the order the window declares them.
  const std::vector<Control*>& controls() const { return controls_; }
  // The control of that name; nullptr when there is none.
  Control* FindControl(const std::wstring& name) const;

  // Runs when the window is loaded, before it is shown.
  virtual void OnLoad() {}

 private:
  friend class Control;
  void Adopt(Control& control) { controls_.push_back(&control); }

  std::wstring name_;
  std::wstring caption_;
  int client_width_;
  int client_height_;
  std::vector<Control*> controls_;
};

// The moves between windows. The window manager carries them out; windows only ask.
class Navigator {
 public:
  Navigator() = default;
  Navigator(const Navigator&) = delete;
  Navigator& operator=(const Navigator&) = delete;
  virtual ~Navigator() = default;

  // Loads the window (its OnLoad runs now) and then shows it as a non-modal window, unless
  // it unloaded itself while loading.
  virtual void Show(std::unique_ptr<Window> window) = 0;
  // Unloads an open window. The object lives on until the handler that is running returns.
  virtual void Unload(Window& window) = 0;
  // Ends the program at once: every window closes and no further handler runs.
  virtual void EndProgram() = 0;
  // Runs a long operation of `window` (the apply) to its end. Ending the program, or unloading
  // `window` (its title bar), asked for meanwhile is held until the operation has returned and
  // carried out then; once either is asked for, no window opens.
  virtual void RunToEnd(Window& window, const std::function<void()>& operation) = 0;
};

// What every window is built with.
struct WindowContext {
  Platform platform;
  Navigator& navigator;
};

}  // namespace kelpo
