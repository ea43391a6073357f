#pragma once
// Processes through the tool-help snapshot, kernel32 and the desktop's shell; every handle is
// owned once and closed.
#include "platform/processes.h"

namespace kelpo {

class ProgramWindows;

class Win32Processes final : public Processes {
 public:
  // With `windows`, a wait handles messages through the window host and a consent prompt
  // belongs to the program's front window; without, messages are dispatched plainly.
  explicit Win32Processes(ProgramWindows* windows = nullptr) : windows_(windows) {}

  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  bool Terminate(std::uint32_t pid) override;
  std::uint32_t OwnPid() const override;
  // ShellExecuteExW with the default verb and a normal window, as Explorer opens a program:
  // an installer that needs administrator rights gets the consent prompt instead of failing
  // (ERROR_ELEVATION_REQUIRED); a refusal (ERROR_CANCELLED) is a start that failed.
  OwnedProcess Start(const std::wstring& command_line) override;
  // OpenProcess with SYNCHRONIZE alone, which an elevated process grants this program too.
  OwnedProcess OpenToWait(std::uint32_t pid) override;
  void WaitUntilEnded(const ProcessHandle& process) override;

 private:
  bool HandlePendingMessages();

  ProgramWindows* windows_;
};

}  // namespace kelpo
