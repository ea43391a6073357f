#include "platform/sim/sim_processes.h"

#include "platform/runtime_error.h"

namespace kelpo {

std::wstring SimProcesses::SubjectOf(std::uint32_t pid) const {
  const auto found = running_.find(pid);
  return found == running_.end() ? std::wstring() : WidenBytes(found->second.exe_name);
}

bool SimProcesses::Admit(ProcCall call, const std::wstring& subject) {
  call.number = NextSimCallNumber();
  const std::optional<SimFault<ProcOp>> fault = faults_.Hit(call.op, subject);
  call.succeeded = !fault;
  journal_.push_back(call);
  if (fault && fault->throws) throw RuntimeError(fault->error);
  return !fault;
}

std::optional<std::vector<ProcessEntry>> SimProcesses::Snapshot() {
  if (!Admit({0, ProcOp::kSnapshot, 0, {}, false}, L"")) return std::nullopt;
  std::vector<ProcessEntry> entries;
  entries.reserve(running_.size());
  for (const auto& [pid, process] : running_) entries.push_back({pid, process.exe_name});
  return entries;
}

bool SimProcesses::Terminate(std::uint32_t pid) {
  const auto found = running_.find(pid);
  const bool admitted = Admit({0, ProcOp::kTerminate, pid, {}, false}, SubjectOf(pid));
  if (!admitted || found == running_.end() || !found->second.can_end) {
    journal_.back().succeeded = false;
    return false;
  }
  running_.erase(found);
  return true;
}

std::uint32_t SimProcesses::Start(const std::wstring& command_line) {
  if (!Admit({0, ProcOp::kStart, 0, command_line, false}, command_line)) return 0;
  const std::uint32_t pid = next_pid_++;
  running_[pid] = {"", command_line, true};
  journal_.back().pid = pid;
  return pid;
}

void SimProcesses::WaitUntilEnded(std::uint32_t pid) {
  const bool admitted = Admit({0, ProcOp::kWait, pid, {}, false}, SubjectOf(pid));
  // A program that cannot be opened ends the wait at once; so does one not running.
  if (!admitted || !IsRunning(pid)) {
    journal_.back().succeeded = false;
    return;
  }
  if (on_wait_) on_wait_(pid);
  running_.erase(pid);
}

std::uint32_t SimProcesses::AddProcess(const std::string& exe_name, bool can_end) {
  const std::uint32_t pid = next_pid_++;
  running_[pid] = {exe_name, {}, can_end};
  return pid;
}

}  // namespace kelpo
