#include "platform/sim/sim_processes.h"

#include "platform/command_line.h"
#include "platform/runtime_error.h"

namespace kelpo {

class SimProcesses::Handle final : public ProcessHandle {
 public:
  Handle(SimProcesses& owner, std::uint32_t pid) : owner_(&owner), pid_(pid) { ++owner_->open_handles_; }
  ~Handle() override { --owner_->open_handles_; }
  std::uint32_t pid() const override { return pid_; }
  const SimProcesses* owner() const { return owner_; }

 private:
  SimProcesses* owner_;
  std::uint32_t pid_;
};

namespace {

// The file name as the snapshot shows it: ANSI bytes; the test names are ASCII.
std::string SnapshotName(const std::wstring& file_name) {
  std::string name;
  for (const wchar_t c : file_name) name.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return name;
}

}  // namespace

SimProcesses::~SimProcesses() = default;

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

std::uint32_t SimProcesses::Add(Running process) {
  const std::uint32_t pid = next_pid_++;  // never reused: a held handle keeps its id anyway
  running_[pid] = std::move(process);
  return pid;
}

OwnedProcess SimProcesses::MakeHandle(std::uint32_t pid) { return std::make_unique<Handle>(*this, pid); }

std::optional<std::vector<ProcessEntry>> SimProcesses::Snapshot() {
  if (!Admit({0, ProcOp::kSnapshot, 0, {}, false}, L"")) return std::nullopt;
  std::vector<ProcessEntry> entries;
  entries.reserve(running_.size());
  for (const auto& [pid, process] : running_) entries.push_back({pid, process.parent_pid, process.exe_name});
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

OwnedProcess SimProcesses::Start(const std::wstring& command_line) {
  if (!Admit({0, ProcOp::kStart, 0, command_line, false}, command_line)) return nullptr;
  const std::uint32_t pid = Add({SnapshotName(ProgramFileName(command_line)), command_line, kOwnPid, true});
  journal_.back().pid = pid;
  return MakeHandle(pid);
}

OwnedProcess SimProcesses::OpenToWait(std::uint32_t pid) {
  if (IsRunning(pid)) return MakeHandle(pid);
  // Recorded as the wait it was meant for, which fails. Faults hit the wait itself, once.
  journal_.push_back({NextSimCallNumber(), ProcOp::kWait, pid, {}, false});
  return nullptr;
}

void SimProcesses::WaitUntilEnded(const ProcessHandle& process) {
  const auto* handle = dynamic_cast<const Handle*>(&process);
  const std::uint32_t pid = process.pid();
  const bool admitted = Admit({0, ProcOp::kWait, pid, {}, false}, SubjectOf(pid));
  // A handle of another port, or a program that has already ended, ends the wait at once.
  if (!admitted || handle == nullptr || handle->owner() != this || !IsRunning(pid)) {
    journal_.back().succeeded = false;
    return;
  }
  if (on_wait_) on_wait_(pid);
  running_.erase(pid);
}

std::uint32_t SimProcesses::AddProcess(const std::string& exe_name, bool can_end) {
  return Add({exe_name, {}, kDesktopShellPid, can_end});
}

std::uint32_t SimProcesses::AddChild(const std::string& exe_name) { return Add({exe_name, {}, kOwnPid, true}); }

}  // namespace kelpo
