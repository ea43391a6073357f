#include "platform/win32/win32_processes.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/command_line.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/win32_handles.h"

namespace kelpo {
namespace {

class Win32Process final : public ProcessHandle {
 public:
  Win32Process(UniqueHandle handle, std::uint32_t pid) : handle_(std::move(handle)), pid_(pid) {}
  std::uint32_t pid() const override { return pid_; }
  HANDLE get() const { return handle_.get(); }

 private:
  UniqueHandle handle_;
  std::uint32_t pid_;
};

OwnedProcess Own(HANDLE process, std::uint32_t pid) {
  UniqueHandle owned(process);
  if (!owned) return nullptr;
  return std::make_unique<Win32Process>(std::move(owned), pid);
}

}  // namespace

std::optional<std::vector<ProcessEntry>> Win32Processes::Snapshot() {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<ProcessEntry> entries;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    const std::size_t length = strnlen(entry.szExeFile, sizeof entry.szExeFile);
    entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID, std::string(entry.szExeFile, length)});
  }
  return entries;
}

bool Win32Processes::Terminate(std::uint32_t pid) {
  const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, TRUE, pid));
  return process && TerminateProcess(process.get(), 0);
}

std::uint32_t Win32Processes::OwnPid() const { return GetCurrentProcessId(); }

OwnedProcess Win32Processes::Start(const std::wstring& command_line) {
  const ProgramAndArguments split = SplitCommandLine(command_line);
  // The shell may hand the start to its extensions, which are COM objects.
  const ComApartment apartment;
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  start.fMask = SEE_MASK_NOCLOSEPROCESS | (start_errors_ == StartErrors::kHeldBack ? SEE_MASK_FLAG_NO_UI : 0);
  // Without a window of its own the consent prompt would only flash in the taskbar.
  start.hwnd = windows_ != nullptr ? windows_->FrontWindow() : nullptr;
  start.lpFile = split.program.c_str();
  start.lpParameters = split.arguments.empty() ? nullptr : split.arguments.c_str();
  start.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&start)) return nullptr;
  // A start the shell satisfied without a new process leaves nothing to wait for. The handle
  // the shell returns may query the process; one opened to wait may not.
  return start.hProcess != nullptr ? Own(start.hProcess, GetProcessId(start.hProcess)) : nullptr;
}

OwnedProcess Win32Processes::OpenToWait(std::uint32_t pid) { return Own(OpenProcess(SYNCHRONIZE, FALSE, pid), pid); }

bool Win32Processes::HandlePendingMessages() {
  return windows_ != nullptr ? windows_->HandlePendingMessages() : kelpo::HandlePendingMessages(nullptr);
}

void Win32Processes::WaitUntilEnded(const ProcessHandle& process) {
  const auto* own = dynamic_cast<const Win32Process*>(&process);
  if (own == nullptr) return;
  const HANDLE handles[] = {own->get()};
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;  // ended, or the wait itself failed
    if (!HandlePendingMessages()) return;   // the program is ending: nothing is left to wait for
  }
}

}  // namespace kelpo
