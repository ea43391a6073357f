#pragma once
// Processes for tests: a table of running programs. Every call is recorded in order; any call
// can be made to fail or to throw. A started program runs until it is waited for (it then
// ends) or terminated. Handles are counted, so a test can see that each one was closed.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/sim/sim_faults.h"

namespace kelpo {

// kWait covers one wait from opening the process to its end, recorded once: a process that is
// not running when it is opened is a wait that failed, and a kWait fault makes the wait fail
// at once, as a process that cannot be opened or waited for.
enum class ProcOp { kAny, kSnapshot, kTerminate, kStart, kWait };

struct ProcCall {
  std::uint64_t number = 0;    // order among the calls of every sim port
  ProcOp op = ProcOp::kAny;
  std::uint32_t pid = 0;       // terminated, waited for, or started (0: could not start)
  std::wstring command_line;   // for kStart
  bool succeeded = false;
};

class SimProcesses final : public Processes {
 public:
  // This program, and the desktop's shell that the programs a user opens come from.
  static constexpr std::uint32_t kOwnPid = 800;
  static constexpr std::uint32_t kDesktopShellPid = 700;

  SimProcesses() = default;
  ~SimProcesses() override;

  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  bool Terminate(std::uint32_t pid) override;
  std::uint32_t OwnPid() const override { return kOwnPid; }
  // The program runs under its file name, as this program's child.
  OwnedProcess Start(const std::wstring& command_line) override;
  OwnedProcess OpenToWait(std::uint32_t pid) override;
  void WaitUntilEnded(const ProcessHandle& process) override;

  // --- Test controls ---
  // A running program the user opened; `can_end` false makes it refuse termination. Its pid.
  std::uint32_t AddProcess(const std::string& exe_name, bool can_end = true);
  // A running program this program started other than through Start (the scripting shell).
  std::uint32_t AddChild(const std::string& exe_name);
  bool IsRunning(std::uint32_t pid) const { return running_.count(pid) != 0; }
  std::size_t running_count() const { return running_.size(); }
  // Handles given out and not yet closed.
  int open_handles() const { return open_handles_; }
  // Faults match on the executable name (kTerminate, kWait) or the command line (kStart).
  void InjectFault(const SimFault<ProcOp>& fault) { faults_.Inject(fault); }
  // Runs inside each wait, while the awaited program still runs: what the user does meanwhile.
  void set_on_wait(std::function<void(std::uint32_t pid)> on_wait) { on_wait_ = std::move(on_wait); }
  const std::vector<ProcCall>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

 private:
  class Handle;
  struct Running {
    std::string exe_name;
    std::wstring command_line;
    std::uint32_t parent_pid = 0;
    bool can_end = true;
  };

  std::uint32_t Add(Running process);
  OwnedProcess MakeHandle(std::uint32_t pid);
  std::wstring SubjectOf(std::uint32_t pid) const;
  // Records the call; throws when the fault says so. True when the call may succeed.
  bool Admit(ProcCall call, const std::wstring& subject);

  std::map<std::uint32_t, Running> running_;
  SimFaults<ProcOp> faults_;
  std::vector<ProcCall> journal_;
  std::function<void(std::uint32_t)> on_wait_;
  std::uint32_t next_pid_ = 1000;
  int open_handles_ = 0;
};

}  // namespace kelpo
