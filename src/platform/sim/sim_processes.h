#pragma once
// Processes for tests: a table of running programs. Every call is recorded in order; any call
// can be made to fail or to throw. A started program runs until it is waited for (it then
// ends) or terminated.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/sim/sim_faults.h"

namespace kelpo {

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
  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  bool Terminate(std::uint32_t pid) override;
  std::uint32_t Start(const std::wstring& command_line) override;
  void WaitUntilEnded(std::uint32_t pid) override;

  // --- Test controls ---
  // A running program; `can_end` false makes it refuse termination. Returns its pid.
  std::uint32_t AddProcess(const std::string& exe_name, bool can_end = true);
  bool IsRunning(std::uint32_t pid) const { return running_.count(pid) != 0; }
  std::size_t running_count() const { return running_.size(); }
  // Faults match on the executable name (kTerminate, kWait) or the command line (kStart).
  void InjectFault(const SimFault<ProcOp>& fault) { faults_.Inject(fault); }
  // Runs inside each wait, while the awaited program still runs: what the user does meanwhile.
  void set_on_wait(std::function<void(std::uint32_t pid)> on_wait) { on_wait_ = std::move(on_wait); }
  const std::vector<ProcCall>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

 private:
  struct Running {
    std::string exe_name;
    std::wstring command_line;
    bool can_end = true;
  };

  std::wstring SubjectOf(std::uint32_t pid) const;
  // Records the call; throws when the fault says so. True when the call may succeed.
  bool Admit(ProcCall call, const std::wstring& subject);

  std::map<std::uint32_t, Running> running_;
  SimFaults<ProcOp> faults_;
  std::vector<ProcCall> journal_;
  std::function<void(std::uint32_t)> on_wait_;
  std::uint32_t next_pid_ = 1000;
};

}  // namespace kelpo
