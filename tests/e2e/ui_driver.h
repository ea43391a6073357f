#pragma once
// Drives the windows of another process from outside, as a user would: finds windows by
// caption, controls by the name the program gives them, reads captions and list items, types,
// clicks, answers message boxes and photographs windows. Include only after <windows.h>.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds kPatience = 15s;

// A message box as it shows itself: title, text, which buttons, whether it has an icon.
struct MessageBoxView {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  bool has_ok = false;
  bool has_yes = false;
  bool has_no = false;
  bool has_icon = false;
};

// The visible top-level windows of a process that are not message boxes, by caption.
std::vector<std::wstring> OpenWindowCaptions(std::uint32_t pid);
// Waits for a visible top-level window of the process with exactly that caption.
HWND WaitForWindow(std::uint32_t pid, const std::wstring& caption, std::chrono::milliseconds patience = kPatience);
// Waits for a message box of the process with that title.
std::optional<MessageBoxView> WaitForMessageBox(std::uint32_t pid, const std::wstring& title,
                                                std::chrono::milliseconds patience = kPatience);
// What that message box shows.
MessageBoxView ReadMessageBox(HWND box);
// Presses one of the box's buttons (IDOK, IDYES, IDNO).
void Answer(const MessageBoxView& box, int button_id);
// The window the message box belongs to, or null.
HWND OwnerOf(const MessageBoxView& box);

// The control of that name inside the window; nullptr when there is none.
HWND FindControl(HWND window, const std::wstring& name);
// The name the program gave a window or control; empty when it has none.
std::wstring AutomationName(HWND window);
std::wstring Caption(HWND window);
bool IsShown(HWND window);    // its own visible style, whatever its parents
bool IsEnabled(HWND window);
std::vector<std::wstring> ListItems(HWND list);
int ListSelection(HWND list);
// The height of a list box's items: the cell height of the font it shows them in.
int ListItemHeight(HWND list);
// The cell height of a font of that face and size at the system DPI, as this process gets it.
int FontCellHeight(const std::wstring& face, double points);
// The width of the text in a font of that face and size at the system DPI.
int TextWidth(const std::wstring& face, double points, const std::wstring& text);
// Where a text box shows the character at that index, in pixels from its left.
int CharacterX(HWND text_box, int index);

// Presses a button as the mouse would (the press is posted: a handler that opens a message
// box does not block the driver).
void Click(HWND button);
// Clicks an item of a list box with the mouse.
void ClickListItem(HWND list, int index);
// Types text into a text box, one character at a time.
void Type(HWND text_box, const std::wstring& text);
// Closes a window from its title bar.
void CloseFromTitleBar(HWND window);
// The window that has the keyboard focus in the thread of that window; null when none has.
HWND FocusedWindow(HWND window);
// Presses a key where the keyboard focus of the window's thread is (posted, as the keyboard
// would; no key is held down meanwhile).
void PressKey(HWND window, WPARAM key);
// Waits until the window's thread answers: it has finished what it was doing and waits in its
// message loop. Input posted a moment ago may still be queued: use WaitUntil for its effects.
void Settle(HWND window);
// Polls the condition until it holds; false when it never did within the patience.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience);

struct WindowSize {
  int width = 0;
  int height = 0;
};
// The size of the client area in pixels.
WindowSize ClientSize(HWND window);
// The position of a control relative to the client area of the top-level window.
RECT RectInWindow(HWND control);
// Writes the window, frame and caption included, as it shows on the screen to a BMP file.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace e2e
