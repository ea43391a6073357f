#include <windows.h>

#include "e2e/ui_driver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ui/win32/automation_name.h"

namespace e2e {
namespace {

constexpr auto kPoll = 50ms;
constexpr UINT kSendTimeoutMs = 5000;
constexpr wchar_t kMessageBoxClass[] = L"#32770";

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

struct ProcessWindows {
  std::uint32_t pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ProcessWindows*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(std::uint32_t pid) {
  ProcessWindows search{pid, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

template <typename Probe>
auto Poll(std::chrono::milliseconds patience, Probe probe) -> decltype(probe()) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (auto found = probe()) return found;
    if (std::chrono::steady_clock::now() >= deadline) return {};
    std::this_thread::sleep_for(kPoll);
  }
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view{box, Caption(box), {}, false, false, false, false};
  for (HWND child : Descendants(box)) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (ClassName(child) == L"Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) view.has_icon = true;
      else if (std::wstring text = Caption(child); !text.empty()) view.text += text;
    }
  }
  view.has_ok = GetDlgItem(box, IDOK) != nullptr;
  view.has_yes = GetDlgItem(box, IDYES) != nullptr;
  view.has_no = GetDlgItem(box, IDNO) != nullptr;
  return view;
}

std::vector<std::wstring> OpenWindowCaptions(std::uint32_t pid) {
  std::vector<std::wstring> captions;
  for (HWND window : TopLevelWindows(pid))
    if (ClassName(window) != kMessageBoxClass && !AutomationName(window).empty()) captions.push_back(Caption(window));
  return captions;
}

HWND WaitForWindow(std::uint32_t pid, const std::wstring& caption, std::chrono::milliseconds patience) {
  return Poll(patience, [&]() -> HWND {
    for (HWND window : TopLevelWindows(pid))
      if (ClassName(window) != kMessageBoxClass && Caption(window) == caption) return window;
    return nullptr;
  });
}

std::optional<MessageBoxView> WaitForMessageBox(std::uint32_t pid, const std::wstring& title,
                                                std::chrono::milliseconds patience) {
  return Poll(patience, [&]() -> std::optional<MessageBoxView> {
    for (HWND window : TopLevelWindows(pid))
      if (ClassName(window) == kMessageBoxClass && Caption(window) == title) return ReadMessageBox(window);
    return std::nullopt;
  });
}

void Answer(const MessageBoxView& box, int button_id) {
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.window, button_id)));
}

HWND FindControl(HWND window, const std::wstring& name) {
  for (HWND child : Descendants(window))
    if (AutomationName(child) == name) return child;
  return nullptr;
}

std::wstring AutomationName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, kelpo::kAutomationNameProperty)));
  if (atom == 0) return {};
  wchar_t name[256] = {};
  const UINT length = GlobalGetAtomNameW(atom, name, 256);
  return std::wstring(name, length);
}

std::wstring Caption(HWND window) {
  const auto length = static_cast<std::size_t>(std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH, 0, 0), 0));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<std::size_t>(
      Send(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(copied, length));
  return text;
}

bool IsShown(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const auto count = static_cast<int>(Send(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    // The list may shrink while it is read: an index gone past its end gives LB_ERR.
    const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    if (copied < 0) break;
    item.resize(std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    items.push_back(std::move(item));
  }
  return items;
}

int ListSelection(HWND list) { return static_cast<int>(Send(list, LB_GETCURSEL, 0, 0)); }

int ListItemHeight(HWND list) { return static_cast<int>(Send(list, LB_GETITEMHEIGHT, 0, 0)); }

namespace {

// Runs `measure` on a screen DC holding the font of that face and size at the system DPI.
template <typename Measure>
int WithFont(const std::wstring& face, double points, Measure measure) {
  const HDC screen = GetDC(nullptr);
  LOGFONTW logical{};
  logical.lfHeight = -static_cast<LONG>(points * GetDeviceCaps(screen, LOGPIXELSY) / 72 + 0.5);
  logical.lfCharSet = GB2312_CHARSET;
  face.copy(logical.lfFaceName, LF_FACESIZE - 1);
  const HFONT font = CreateFontIndirectW(&logical);
  const HGDIOBJ before = SelectObject(screen, font);
  const int result = measure(screen);
  SelectObject(screen, before);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return result;
}

}  // namespace

int FontCellHeight(const std::wstring& face, double points) {
  return WithFont(face, points, [](HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return static_cast<int>(metrics.tmHeight);
  });
}

int TextWidth(const std::wstring& face, double points, const std::wstring& text) {
  return WithFont(face, points, [&](HDC dc) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
  });
}

int CharacterX(HWND text_box, int index) {
  return static_cast<short>(LOWORD(Send(text_box, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0)));
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickListItem(HWND list, int index) {
  const auto top = static_cast<int>(Send(list, LB_GETTOPINDEX, 0, 0));
  const auto height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, 0, 0));
  const LPARAM point = MAKELPARAM(4, (index - top) * height + height / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
}

void Type(HWND text_box, const std::wstring& text) {
  for (wchar_t character : text) PostMessageW(text_box, WM_CHAR, character, 1);
}

void CloseFromTitleBar(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void PressKey(HWND window, WPARAM key) {
  const HWND target = FocusedWindow(window);
  PostMessageW(target != nullptr ? target : window, WM_KEYDOWN, key, 1);
}

HWND OwnerOf(const MessageBoxView& box) { return GetWindow(box.window, GW_OWNER); }

void Settle(HWND window) { Send(window, WM_NULL, 0, 0); }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
  return Poll(patience, [&] { return condition(); });
}

WindowSize ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

RECT RectInWindow(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ before = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, before);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD row = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  std::vector<char> pixels(row * static_cast<DWORD>(height));
  const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace e2e
