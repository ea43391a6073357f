#pragma once
// Running programs: the browser processes to end, the programs the apply sequence starts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpo {

struct ProcessEntry {
  std::uint32_t pid = 0;
  std::uint32_t parent_pid = 0;  // the process that started it (for an elevated one: the requester)
  std::string exe_name;          // ANSI bytes as the snapshot holds them (field of 260), no path
};

// A process this program holds open. While it is held, its id cannot pass to another process,
// so what is waited for is always the process that was started or opened. Closed with its owner.
class ProcessHandle {
 public:
  ProcessHandle() = default;
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  virtual ~ProcessHandle() = default;

  virtual std::uint32_t pid() const = 0;
};

using OwnedProcess = std::unique_ptr<ProcessHandle>;

class Processes {
 public:
  Processes() = default;
  Processes(const Processes&) = delete;
  Processes& operator=(const Processes&) = delete;
  virtual ~Processes() = default;

  // A snapshot of every process; nullopt when none can be taken.
  [[nodiscard]] virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
  // Opens the process for termination (handle inheritable) and ends it with exit code 0.
  // False when it cannot be opened or ended. Does not wait.
  [[nodiscard]] virtual bool Terminate(std::uint32_t pid) = 0;
  // This program's own process id: the parent id of every program it starts.
  [[nodiscard]] virtual std::uint32_t OwnPid() const = 0;
  // Starts a command line as the desktop's shell starts a program the user opens, with a
  // normal, focused window, so the system may ask the user's consent first. The program is
  // the command line's first part (quoted or up to the first blank), the rest its arguments.
  // Null when it could not start, the user's refusal included.
  [[nodiscard]] virtual OwnedProcess Start(const std::wstring& command_line) = 0;
  // Opens a running process only to wait for it (the one right asked is to wait, which an
  // elevated process grants too); null when it cannot be opened.
  [[nodiscard]] virtual OwnedProcess OpenToWait(std::uint32_t pid) = 0;
  // Returns once the process has ended, handling window messages meanwhile without burning
  // CPU. A process that has already ended returns at once.
  virtual void WaitUntilEnded(const ProcessHandle& process) = 0;
};

}  // namespace kelpo
