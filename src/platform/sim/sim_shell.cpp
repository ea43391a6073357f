#include "platform/sim/sim_shell.h"

#include "platform/runtime_error.h"

namespace kelpo {

bool SimShell::Run(const std::wstring& command_line) {
  const std::optional<SimFault<ShellOp>> fault = faults_.Hit(ShellOp::kRun, command_line);
  journal_.push_back({NextSimCallNumber(), command_line, !fault});
  if (fault && fault->throws) throw RuntimeError(fault->error);
  if (fault) return false;
  if (on_run_) on_run_(command_line);
  return true;
}

}  // namespace kelpo
