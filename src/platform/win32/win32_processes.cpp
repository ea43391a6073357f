#include "platform/win32/win32_processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include "platform/win32/win32_handle.h"

namespace kelpo {

bool DispatchPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

Win32Processes::Win32Processes(std::function<void()> handle_pending_messages)
    : handle_pending_messages_(std::move(handle_pending_messages)) {}

std::optional<std::vector<ProcessEntry>> Win32Processes::Snapshot() {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<ProcessEntry> entries;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    const std::size_t length = strnlen(entry.szExeFile, sizeof entry.szExeFile);
    entries.push_back({entry.th32ProcessID, std::string(entry.szExeFile, length)});
  }
  return entries;
}

bool Win32Processes::Terminate(std::uint32_t pid) {
  const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, TRUE, pid));
  return process && TerminateProcess(process.get(), 0);
}

std::uint32_t Win32Processes::Start(const std::wstring& command_line) {
  std::wstring mutable_line = command_line;  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return 0;
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  return started.dwProcessId;
}

void Win32Processes::WaitUntilEnded(std::uint32_t pid) {
  const UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
  if (!process) return;
  const HANDLE handles[] = {process.get()};
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;  // ended, or the wait itself failed
    if (handle_pending_messages_) {
      handle_pending_messages_();
    } else if (!DispatchPendingMessages()) {
      return;  // the program is ending: nothing is left to wait for
    }
  }
}

}  // namespace kelpo
