#pragma once
// One window model realised on the screen: a top-level window with a native control per
// model control. What the user does goes to the model (clicks, list clicks, typed text); what
// the model changes comes back to the control through the controls' on_change.
// Include only after <windows.h>.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/window.h"
#include "platform/win32/win32_handle.h"

namespace kelpo {

class NativeForm {
 public:
  // Creates the window, hidden, centred on the screen at `dpi`. on_close runs when the user
  // asks to close it (title bar, system menu, Alt+F4); the window stays until Close().
  NativeForm(Window& model, int dpi, std::function<void()> on_close);
  NativeForm(const NativeForm&) = delete;
  NativeForm& operator=(const NativeForm&) = delete;
  ~NativeForm();

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
    std::vector<std::wstring> shown_items;  // list boxes: what the native list holds
  };
  using FontKey = std::tuple<std::wstring, double, bool>;

  // Registers the window classes once per process; false when that failed.
  static bool RegisterClasses();
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
  void FocusNext(bool forward);

  Window& model_;
  int dpi_;
  std::function<void()> on_close_;
  bool syncing_ = false;
  std::map<FontKey, UniqueFont> fonts_;  // before window_: outlives the controls using them
  UniqueWindow window_;
  std::vector<NativeControl> controls_;
};

}  // namespace kelpo
