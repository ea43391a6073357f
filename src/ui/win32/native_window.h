#pragma once
// One window model realised on the screen: a top-level window with a native control per
// model control. What the user does goes to the model (clicks, list clicks, typed text); what
// the model changes comes back to the control through the controls' on_change.
// Include only after <windows.h>.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "windows/window.h"

namespace kelpo {

class NativeWindow {
 public:
  // What the window tells its host: the user asks to close it (title bar, system menu, Alt+F4;
  // the window stays until Close()), or it has become the active window.
  struct Events {
    std::function<void()> on_close;
    std::function<void()> on_activated;
  };

  // Creates the window, hidden, centred on the screen at `dpi`; its icon is the executable's
  // icon resource `icon_id`.
  NativeWindow(Window& model, int dpi, int icon_id, Events events);
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  ~NativeWindow();

  // False when the system refused to create the window.
  bool created() const { return static_cast<bool>(window_); }
  Window& model() const { return model_; }
  HWND handle() const { return window_.get(); }
  // True for the window itself and every window inside it.
  bool Contains(HWND window) const;

  // Shows the window, brings it to the front and focuses the first control in tab order.
  void Show();
  // Detaches the models and destroys the window.
  void Close();
  // Keys that move between or press controls (Tab, Shift+Tab, Enter on a button); true when
  // the message was used up.
  bool TranslateKey(const MSG& message);

 private:
  struct NativeControl {
    Control* model = nullptr;
    HWND window = nullptr;       // the control; for a frame, the container of its controls
    HWND text_window = nullptr;  // the window showing the caption (a frame's group box)
    std::uint64_t shown_item_changes = 0;  // list boxes: the model's change the native list shows
  };
  using FontKey = std::tuple<std::wstring, double, bool>;

  // Registers the window classes once per process; false when that failed.
  static bool RegisterClasses(int icon_id);
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void CreateControls();
  HWND CreateNative(const Control& control, HWND parent, int id);
  void StackControls();
  void Layout();
  HFONT FontFor(const Font& font);
  HWND ContainerOf(const Control& control) const;
  NativeControl* FindNative(HWND window);

  void Sync(NativeControl& control);
  void SyncList(NativeControl& control);
  void OnCommand(HWND from, int code);
  // As in a dialog: the control that had the focus when the window last became inactive gets
  // it back when the window is active again; the window itself never keeps the focus.
  void OnActivate(WPARAM wparam);
  // The remembered control takes the focus; when it can no longer, the first in tab order.
  void RestoreFocus();
  // Moves the focus to the next control in tab order after `from` (none: the first).
  void FocusNext(const NativeControl* from, bool forward);

  Window& model_;
  int dpi_;
  Events events_;
  bool syncing_ = false;
  HWND focus_to_restore_ = nullptr;
  std::map<FontKey, UniqueFont> fonts_;  // before window_: outlives the controls using them
  UniqueWindow window_;
  std::vector<NativeControl> controls_;
};

}  // namespace kelpo
