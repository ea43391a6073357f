#include <windows.h>

#include "e2e/window_watch.h"

#include <algorithm>
#include <set>
#include <utility>

namespace e2e {
namespace {

struct Watch {
  DWORD pid = 0;
  HWND message_root = nullptr;
  std::vector<SeenWindow> windows;
  std::set<HWND> known;
  // Top-level windows first seen shown and not yet handed to the case.
  std::vector<HWND> newly_shown;
};

// The window-event callback has no context of its own: the one watch running.
Watch* running_watch = nullptr;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring CaptionOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The parent every message-only window has.
HWND MessageOnlyRoot() {
  const HWND probe = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const HWND root = GetAncestor(probe, GA_PARENT);
  DestroyWindow(probe);
  return root;
}

SeenWindow* Find(Watch& watch, HWND window) {
  for (SeenWindow& seen : watch.windows)
    if (seen.handle == window) return &seen;
  return nullptr;
}

void Note(Watch& watch, HWND window) {
  if (!watch.known.insert(window).second) return;
  SeenWindow seen{window, WindowKind::kGone, {}, {}};
  if (IsWindow(window)) {
    const HWND parent = GetAncestor(window, GA_PARENT);
    seen.kind = parent == GetDesktopWindow()     ? WindowKind::kTopLevel
                : parent == watch.message_root ? WindowKind::kMessageOnly
                                               : WindowKind::kChild;
    seen.class_name = ClassOf(window);
    seen.caption = CaptionOf(window);
  }
  watch.windows.push_back(std::move(seen));
}

void NoteShown(Watch& watch, HWND window) {
  Note(watch, window);
  SeenWindow* seen = Find(watch, window);
  if (seen == nullptr || seen->shown) return;
  seen->shown = true;
  if (seen->kind == WindowKind::kTopLevel) watch.newly_shown.push_back(window);
}

void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (running_watch == nullptr || window == nullptr || object != OBJID_WINDOW) return;
  if (event == EVENT_OBJECT_SHOW)
    NoteShown(*running_watch, window);
  else
    Note(*running_watch, window);
}

BOOL CALLBACK NoteIfOfProcess(HWND window, LPARAM context) {
  auto& watch = *reinterpret_cast<Watch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != watch.pid) return TRUE;
  if (IsWindowVisible(window))
    NoteShown(watch, window);
  else
    Note(watch, window);
  return TRUE;
}

void HandleMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ReadAvailable(HANDLE pipe, std::string& into) {
  DWORD available = 0;
  while (pipe != nullptr && PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (!ReadFile(pipe, chunk.data(), available, &read, nullptr) || read == 0) return;
    into.append(chunk.data(), read);
  }
}

class OwnedHandle {
 public:
  OwnedHandle() = default;
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { Reset(); }
  HANDLE* out() { return &handle_; }
  HANDLE get() const { return handle_; }
  void Reset() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace

std::vector<SeenWindow> WatchedRun::ScreenWindows() const {
  std::vector<SeenWindow> found;
  std::copy_if(windows.begin(), windows.end(), std::back_inserter(found),
               [](const SeenWindow& seen) { return seen.kind != WindowKind::kMessageOnly; });
  return found;
}

std::vector<SeenWindow> WatchedRun::ShownWindows() const {
  std::vector<SeenWindow> found;
  std::copy_if(windows.begin(), windows.end(), std::back_inserter(found),
               [](const SeenWindow& seen) { return seen.shown; });
  return found;
}

std::string Describe(const std::vector<SeenWindow>& windows) {
  std::string text;
  for (const SeenWindow& seen : windows) {
    const char* kind = seen.kind == WindowKind::kTopLevel      ? "top-level"
                       : seen.kind == WindowKind::kChild       ? "child"
                       : seen.kind == WindowKind::kMessageOnly ? "message-only"
                                                               : "gone before it was looked at:";
    text += std::string(text.empty() ? "" : "; ") + (seen.shown ? "shown " : "") + kind + " " +
            Utf8(seen.class_name) + " \"" + Utf8(seen.caption) + "\"";
  }
  return text;
}

WatchedRun RunWatched(const std::wstring& command_line, const WatchOptions& options) {
  WatchedRun run;
  OwnedHandle output_read;
  OwnedHandle output_write;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (options.capture_output) {
    if (!CreatePipe(output_read.out(), output_write.out(), &inheritable, 0)) return run;
    SetHandleInformation(output_read.get(), HANDLE_FLAG_INHERIT, 0);
  }
  // Without a pipe it gets no standard handles at all, as a program started by Explorer or at
  // logon; with one, only the pipe.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output_write.get();
  std::wstring line = command_line;
  PROCESS_INFORMATION info{};
  const std::wstring folder = options.folder.wstring();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, options.capture_output, CREATE_SUSPENDED, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return run;
  run.started = true;
  output_write.Reset();  // the pipe ends once the process is gone
  OwnedHandle process;
  *process.out() = info.hProcess;

  Watch watch;
  watch.pid = info.dwProcessId;
  watch.message_root = MessageOnlyRoot();
  running_watch = &watch;
  // EVENT_OBJECT_CREATE, EVENT_OBJECT_DESTROY (a window is noted before it is gone) and
  // EVENT_OBJECT_SHOW.
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnWindowEvent,
                                             info.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
  run.hooked = hook != nullptr;
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);

  const auto deadline = std::chrono::steady_clock::now() + options.patience;
  const HANDLE awaited[] = {process.get()};
  bool ended_by_the_watch = false;
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, awaited, FALSE, 1, QS_ALLINPUT);
    HandleMessages();
    EnumWindows(NoteIfOfProcess, reinterpret_cast<LPARAM>(&watch));
    ReadAvailable(output_read.get(), run.output);
    for (std::vector<HWND> shown = std::exchange(watch.newly_shown, {}); const HWND window : shown)
      if (options.on_shown) options.on_shown(window);
    if (woke == WAIT_OBJECT_0) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      TerminateProcess(process.get(), 99);
      WaitForSingleObject(process.get(), 5000);
      ended_by_the_watch = true;
      break;
    }
  }
  // Reports the system queued before the end are handled still.
  for (const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
       std::chrono::steady_clock::now() < until;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    HandleMessages();
  }
  if (hook != nullptr) UnhookWinEvent(hook);
  running_watch = nullptr;
  ReadAvailable(output_read.get(), run.output);

  DWORD code = 0;
  if (!ended_by_the_watch && GetExitCodeProcess(process.get(), &code) && code != STILL_ACTIVE) run.exit_code = code;
  run.windows = std::move(watch.windows);
  return run;
}

}  // namespace e2e
