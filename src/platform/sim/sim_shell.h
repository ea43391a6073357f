#pragma once
// The scripting shell for tests: records every command line it is asked to run, in order;
// any run can be made to fail or to throw.
#include <functional>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_faults.h"

namespace kelpo {

enum class ShellOp { kAny, kRun };

struct ShellCall {
  std::uint64_t number = 0;  // order among the calls of every sim port
  std::wstring command_line;
  bool succeeded = false;
};

class SimShell final : public Shell {
 public:
  bool Run(const std::wstring& command_line) override;

  // Faults match on the command line.
  void InjectFault(const SimFault<ShellOp>& fault) { faults_.Inject(fault); }
  // Runs for each command line started: a test can make the started program appear.
  void set_on_run(std::function<void(const std::wstring&)> on_run) { on_run_ = std::move(on_run); }
  const std::vector<ShellCall>& journal() const { return journal_; }

 private:
  SimFaults<ShellOp> faults_;
  std::vector<ShellCall> journal_;
  std::function<void(const std::wstring&)> on_run_;
};

}  // namespace kelpo
