#pragma once
// Processes through the tool-help snapshot, kernel32 and the desktop's shell; every handle is
// owned once and closed.
#include "platform/processes.h"

namespace kelpo {

class ProgramWindows;

// Whether the shell may show its own message box when a program cannot be started ("not a
// valid Win32 application", a file not found). A run with nobody to answer holds it back: the
// start fails all the same.
enum class StartErrors { kShown, kHeldBack };

class Win32Processes final : public Processes {
 public:
  // With `windows`, a wait handles messages through the window host and a consent prompt
  // belongs to the program's front window; without, messages are dispatched plainly.
  explicit Win32Processes(ProgramWindows* windows = nullptr, StartErrors start_errors = StartErrors::kShown)
      : windows_(windows), start_errors_(start_errors) {}

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
  StartErrors start_errors_;
};

}  // namespace kelpo
