// The trusted-sites window opened on a large zone map through the real window host: its list
// box must take the items without painting for each one.
#include <windows.h>

#include <memory>

#include "measures.h"
#include "ui/win32/window_host.h"
#include "windows/trusted_sites_window.h"
#include "windows/window_manager.h"
#include "wine_machine.h"

namespace kelpo::bench {
namespace {

// What the list boxes of this thread received. Window procedures and hooks carry no context, so
// the counts live here, for the one window watched at a time.
struct ListMessages {
  int inserts = 0;
  int paints = 0;
  HWND list = nullptr;
  WNDPROC list_proc = nullptr;
};
ListMessages watched;

LRESULT CALLBACK CountingListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) ++watched.paints;
  if (message == LB_INSERTSTRING || message == LB_ADDSTRING) ++watched.inserts;
  return CallWindowProcW(watched.list_proc, window, message, wparam, lparam);
}

// Subclasses each list box as it is created, before it has taken any item.
LRESULT CALLBACK WatchCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const auto window = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, 16);
    if (lstrcmpiW(class_name, L"ListBox") == 0) {
      watched.list = window;
      watched.list_proc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingListProc)));
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class CreationHook {
 public:
  CreationHook() : hook_(SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId())) {}
  CreationHook(const CreationHook&) = delete;
  CreationHook& operator=(const CreationHook&) = delete;
  ~CreationHook() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }
  bool installed() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

// Handles messages until none has come for the quiet time, or until the limit: every paint the
// window asked for has happened by then. The text box's blinking caret never lets it go quiet.
void HandleMessagesForAWhile(DWORD quiet_milliseconds, double limit_seconds) {
  const Stopwatch clock;
  while (clock.Seconds() < limit_seconds) {
    MSG message{};
    bool handled = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      handled = true;
    }
    if (!handled && MsgWaitForMultipleObjects(0, nullptr, FALSE, quiet_milliseconds, QS_ALLINPUT) == WAIT_TIMEOUT)
      return;
  }
}

}  // namespace

ListFill MeasureListFill() {
  ListFill result;
  watched = {};
  const CreationHook hook;
  if (!hook.installed()) {
    result.why = "cannot watch window creation";
    return result;
  }
  WineMachine machine;
  WindowManager manager(machine.desktop);
  Win32WindowHost host(manager, 0);  // no icon resource in the benchmark
  manager.set_host(&host);
  const Stopwatch clock;
  manager.Show(std::make_unique<TrustedSitesWindow>(WindowContext{machine.platform, manager}));
  result.open = clock.Seconds();
  HandleMessagesForAWhile(300, 2.0);
  if (watched.list == nullptr || !IsWindowVisible(watched.list)) {
    result.why = "the trusted-sites window did not show its list (is there a display?)";
    return result;
  }
  result.items = static_cast<int>(SendMessageW(watched.list, LB_GETCOUNT, 0, 0));
  result.inserts = watched.inserts;
  result.paints = watched.paints;
  result.ran = result.items > 0;
  if (!result.ran) result.why = "the zone map is empty: run the apply measure first";
  if (TrustedSitesWindow* window = manager.Find<TrustedSitesWindow>()) manager.Unload(*window);
  return result;
}

}  // namespace kelpo::bench
