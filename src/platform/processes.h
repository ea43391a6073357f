#pragma once
// Running programs: the browser processes to end, the programs the apply sequence starts.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelpo {

struct ProcessEntry {
  std::uint32_t pid = 0;
  std::string exe_name;  // ANSI bytes as the snapshot holds them (field of 260), no path
};

class Processes {
 public:
  Processes() = default;
  Processes(const Processes&) = delete;
  Processes& operator=(const Processes&) = delete;
  virtual ~Processes() = default;

  // A snapshot of every process; nullopt when none can be taken.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
  // Opens the process for termination (handle inheritable) and ends it with exit code 0.
  // False when it cannot be opened or ended. Does not wait.
  virtual bool Terminate(std::uint32_t pid) = 0;
  // Starts a command line with a normal, focused window; its pid, or 0 when it cannot start.
  virtual std::uint32_t Start(const std::wstring& command_line) = 0;
  // Returns once the process has ended, handling window messages meanwhile without burning
  // CPU. A process that cannot be opened ends the wait at once.
  virtual void WaitUntilEnded(std::uint32_t pid) = 0;
};

}  // namespace kelpo
