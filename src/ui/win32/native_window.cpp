#include <windows.h>
#include <commctrl.h>

#include "ui/win32/native_window.h"

#include <algorithm>

#include "ui/win32/automation_name.h"
#include "ui/win32/form_layout.h"

namespace kelpo {
namespace {

constexpr wchar_t kFormClass[] = L"KelpoForm";
constexpr wchar_t kFrameClass[] = L"KelpoFrame";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kFirstControlId = 100;

// Sets a flag for the length of a scope: notifications that a sync itself causes are not
// the user's doing and must not reach the model again.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = before_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool before_;
};

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetAutomationName(HWND window, const std::wstring& name) {
  const ATOM atom = GlobalAddAtomW(name.c_str());
  if (atom != 0) SetPropW(window, kAutomationNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void ClearAutomationName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(window, kAutomationNameProperty)));
  if (atom != 0) GlobalDeleteAtom(atom);
}

bool Focusable(const Control& control) {
  const ControlKind kind = control.kind();
  return control.visible() && control.enabled() &&
         (kind == ControlKind::kButton || kind == ControlKind::kListBox || kind == ControlKind::kTextBox);
}

// Stacking from the top: labels lie under everything else, frames under the controls that
// lie over them ("Label6 lies under Frame2", "Label5 lies under the list box").
int StackingLayer(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel: return 2;
    case ControlKind::kFrame: return 1;
    default: return 0;
  }
}

struct NativeClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

NativeClass NativeClassOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
  switch (kind) {
    case ControlKind::kLabel: return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kButton: return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::kListBox:
      return {L"LISTBOX", kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::kTextBox: return {L"EDIT", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    // Not clipping its children: the group box inside is transparent and the frame paints
    // the face colour under it.
    case ControlKind::kFrame: return {kFrameClass, kChild, WS_EX_CONTROLPARENT};
  }
  return {L"STATIC", kChild, 0};
}

RECT ScreenRectOfClient(int client_width, int client_height) {
  RECT rect{0, 0, client_width, client_height};
  AdjustWindowRectEx(&rect, kFormStyle, FALSE, 0);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int left = form_layout::CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
  const int top = form_layout::CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
  return RECT{left, top, left + width, top + height};
}

}  // namespace

bool NativeWindow::RegisterClasses(int icon_id) {
  static const bool registered = [icon_id] {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = NativeWindow::FormProc;
    form.hInstance = instance;
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(icon_id));
    form.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    WNDCLASSEXW frame = form;
    frame.lpfnWndProc = NativeWindow::FrameProc;
    frame.hIcon = frame.hIconSm = nullptr;
    frame.lpszClassName = kFrameClass;
    return RegisterClassExW(&form) != 0 && RegisterClassExW(&frame) != 0;
  }();
  return registered;
}

NativeWindow::NativeWindow(Window& model, int dpi, int icon_id, Events events)
    : model_(model), dpi_(dpi), events_(std::move(events)) {
  if (!RegisterClasses(icon_id)) return;
  const RECT rect = ScreenRectOfClient(form_layout::TwipsToPixels(model.client_width(), dpi),
                                       form_layout::TwipsToPixels(model.client_height(), dpi));
  window_ = UniqueWindow(CreateWindowExW(0, kFormClass, model.caption().c_str(), kFormStyle, rect.left, rect.top,
                                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), this));
  if (!window_) return;
  SetAutomationName(window_.get(), model.name());
  CreateControls();
  StackControls();
  Layout();
}

NativeWindow::~NativeWindow() { Close(); }

bool NativeWindow::Contains(HWND window) const {
  return window_ && (window == window_.get() || IsChild(window_.get(), window));
}

void NativeWindow::Show() {
  if (!window_) return;
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
  SetForegroundWindow(window_.get());
  RestoreFocus();
}

void NativeWindow::RestoreFocus() {
  const NativeControl* saved = FindNative(focus_to_restore_);
  if (saved != nullptr && Focusable(*saved->model)) {
    SetFocus(saved->window);
  } else {
    FocusNext(nullptr, true);
  }
}

void NativeWindow::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    // The focus has not moved yet: remember where it was, for when the window comes back.
    if (FindNative(GetFocus()) != nullptr) focus_to_restore_ = GetFocus();
    return;
  }
  if (events_.on_activated) events_.on_activated();
  if (HIWORD(wparam) == 0) RestoreFocus();  // a minimised window gets it back once restored
}

void NativeWindow::Close() {
  if (!window_) return;
  for (NativeControl& control : controls_) {
    control.model->on_change = nullptr;
    ClearAutomationName(control.window);
  }
  ClearAutomationName(window_.get());
  window_.Reset();
  controls_.clear();
}

void NativeWindow::CreateControls() {
  // Frames first, so that the controls they hold find their container.
  std::vector<Control*> ordered = model_.controls();
  std::stable_partition(ordered.begin(), ordered.end(),
                        [](const Control* c) { return c->kind() == ControlKind::kFrame; });
  controls_.reserve(ordered.size());
  int id = kFirstControlId;
  for (Control* control : ordered) {
    NativeControl native{control, CreateNative(*control, ContainerOf(*control), id++), nullptr, {}};
    native.text_window = native.window;
    if (control->kind() == ControlKind::kFrame && native.window != nullptr)
      native.text_window = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0,
                                           native.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (native.window == nullptr) continue;  // the rest of the window is still usable
    SetAutomationName(native.window, control->name());
    controls_.push_back(std::move(native));
    control->on_change = [this, control](Control&) {
      for (NativeControl& candidate : controls_)
        if (candidate.model == control) Sync(candidate);
    };
  }
  for (NativeControl& control : controls_) Sync(control);
}

HWND NativeWindow::CreateNative(const Control& control, HWND parent, int id) {
  const NativeClass native = NativeClassOf(control.kind());
  HWND window = CreateWindowExW(native.ex_style, native.name, L"", native.style, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (window != nullptr && control.kind() == ControlKind::kTextBox)
    SendMessageW(window, EM_SETLIMITTEXT, 0, 0);  // no limit beyond the system's own
  return window;
}

void NativeWindow::StackControls() {
  std::vector<const NativeControl*> order;
  for (const NativeControl& control : controls_) order.push_back(&control);
  std::stable_sort(order.begin(), order.end(), [](const NativeControl* a, const NativeControl* b) {
    return StackingLayer(a->model->kind()) < StackingLayer(b->model->kind());
  });
  // Each goes to the bottom in turn, so the first ends on top.
  for (const NativeControl* control : order)
    SetWindowPos(control->window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A frame's group box is its background: under the controls the frame holds.
  for (const NativeControl& control : controls_)
    if (control.text_window != control.window)
      SetWindowPos(control.text_window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void NativeWindow::Layout() {
  const auto px = [this](int twips) { return form_layout::TwipsToPixels(twips, dpi_); };
  for (NativeControl& control : controls_) {
    const TwipsRect& rect = control.model->rect();
    MoveWindow(control.window, px(rect.left), px(rect.top), px(rect.width), px(rect.height), FALSE);
    if (control.text_window != control.window)
      MoveWindow(control.text_window, 0, 0, px(rect.width), px(rect.height), FALSE);
    const HFONT font = FontFor(control.model->font());
    SendMessageW(control.text_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  InvalidateRect(window_.get(), nullptr, TRUE);
}

HFONT NativeWindow::FontFor(const Font& font) {
  const FontKey key{font.name, font.points * dpi_, font.bold};
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    LOGFONTW logical{};
    logical.lfHeight = form_layout::FontHeightPixels(font.points, dpi_);
    logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logical.lfCharSet = GB2312_CHARSET;  // a Chinese face stands in when the named one is missing
    logical.lfQuality = DEFAULT_QUALITY;
    font.name.copy(logical.lfFaceName, LF_FACESIZE - 1);
    found = fonts_.emplace(key, UniqueFont(CreateFontIndirectW(&logical))).first;
  }
  return found->second.get();
}

HWND NativeWindow::ContainerOf(const Control& control) const {
  if (control.container() != nullptr)
    for (const NativeControl& candidate : controls_)
      if (candidate.model == control.container()) return candidate.window;
  return window_.get();
}

NativeWindow::NativeControl* NativeWindow::FindNative(HWND window) {
  for (NativeControl& control : controls_)
    if (control.window == window) return &control;
  return nullptr;
}

void NativeWindow::Sync(NativeControl& control) {
  ScopedFlag syncing(syncing_);
  const Control& model = *control.model;
  // A frame's container carries the caption too, for whoever reads the frame by name.
  for (HWND window : {control.window, control.text_window})
    if (model.kind() != ControlKind::kListBox && WindowText(window) != model.caption())
      SetWindowTextW(window, model.caption().c_str());
  // A control that loses the focus by being hidden or disabled hands it on, so the keys keep
  // working (a disabled window that had the focus leaves it with no window at all).
  const bool had_focus = GetFocus() == control.window;
  const bool shown = (GetWindowLongPtrW(control.window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != model.visible()) ShowWindow(control.window, model.visible() ? SW_SHOWNA : SW_HIDE);
  if ((IsWindowEnabled(control.window) != FALSE) != model.enabled()) EnableWindow(control.window, model.enabled());
  if (had_focus && !Focusable(model)) FocusNext(&control, true);
  if (model.kind() == ControlKind::kListBox) SyncList(control);
}

void NativeWindow::SyncList(NativeControl& control) {
  const auto& list = static_cast<const ListBox&>(*control.model);
  const std::vector<std::wstring>& items = list.items();
  const form_layout::ListUpdate update =
      form_layout::PlanListUpdate(control.shown_item_changes, list.item_changes(), list.last_item_change());
  const auto append_from = [&](std::size_t first) {
    for (std::size_t i = first; i < items.size(); ++i)
      SendMessageW(control.window, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(items[i].c_str()));
  };
  switch (update.kind) {
    case form_layout::ListUpdate::Kind::kNone: break;
    case form_layout::ListUpdate::Kind::kAppend: append_from(update.index); break;
    case form_layout::ListUpdate::Kind::kRemoveOne:
      // Deleted alone, the list stays scrolled where the user left it.
      SendMessageW(control.window, LB_DELETESTRING, update.index, 0);
      break;
    case form_layout::ListUpdate::Kind::kRebuild:
      SendMessageW(control.window, LB_RESETCONTENT, 0, 0);
      append_from(0);
      break;
  }
  control.shown_item_changes = list.item_changes();
  if (SendMessageW(control.window, LB_GETCURSEL, 0, 0) != list.ListIndex())
    SendMessageW(control.window, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
}

void NativeWindow::OnCommand(HWND from, int code) {
  NativeControl* native = FindNative(from);
  if (native == nullptr || syncing_) return;
  Control& model = *native->model;
  // Nothing of this form may be touched after a handler ran: it may have unloaded the window.
  switch (model.kind()) {
    case ControlKind::kButton:
      if (code == BN_CLICKED) static_cast<Button&>(model).Click();
      break;
    case ControlKind::kListBox:
      if (code == LBN_SELCHANGE)
        static_cast<ListBox&>(model).Click(static_cast<int>(SendMessageW(from, LB_GETCURSEL, 0, 0)));
      break;
    case ControlKind::kTextBox:
      if (code == EN_CHANGE) {
        auto& text_box = static_cast<TextBox&>(model);
        if (std::wstring typed = WindowText(from); typed != text_box.text()) text_box.SetText(std::move(typed));
      }
      break;
    default: break;
  }
}

void NativeWindow::FocusNext(const NativeControl* from, bool forward) {
  std::vector<form_layout::TabStop> stops;
  std::optional<std::size_t> current;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& model = *controls_[i].model;
    stops.push_back({model.tab_index(), Focusable(model)});
    if (&controls_[i] == from) current = i;
  }
  if (const auto next = form_layout::NextTabStop(stops, current, forward)) {
    SetFocus(controls_[*next].window);
    if (controls_[*next].model->kind() == ControlKind::kTextBox) SendMessageW(controls_[*next].window, EM_SETSEL, 0, -1);
  }
}

bool NativeWindow::TranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !Contains(message.hwnd)) return false;
  if (message.wParam == VK_TAB) {
    FocusNext(FindNative(GetFocus()), GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  if (message.wParam == VK_RETURN)
    if (NativeControl* native = FindNative(message.hwnd); native && native->model->kind() == ControlKind::kButton) {
      PostMessageW(native->window, BM_CLICK, 0, 0);
      return true;
    }
  return false;
}

LRESULT CALLBACK NativeWindow::FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (form == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY)
    return DefWindowProcW(window, message, wparam, lparam);
  return form->OnMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK NativeWindow::FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // A frame holds controls: their notifications belong to the window.
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return SendMessageW(GetParent(window), message, wparam, lparam);
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
      // A themed group box asks its parent for the background it stands on: the frame is
      // opaque, in the window's face colour, and hides what lies under it.
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    default: return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT NativeWindow::OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (lparam != 0) OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_CLOSE:
      if (events_.on_close) events_.on_close();
      return 0;
    case WM_ACTIVATE:
      OnActivate(wparam);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();  // the window itself never keeps the focus: one of its controls takes it
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      Layout();
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default: return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace kelpo
