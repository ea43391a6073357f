#pragma once
// The processes a contract test runs against: the in-memory table, or the real system with a
// stand-in program to start, kept in a folder whose name holds a blank.
#include <memory>
#include <string>

#include "platform/processes.h"

namespace kelpo::testing {

inline constexpr char kStandInName[] = "kelpo_stand_in.exe";

class ProcessesEnv {
 public:
  virtual ~ProcessesEnv() = default;
  virtual Processes& processes() = 0;
  // The quoted command line of the stand-in: it runs for `milliseconds`, then leaves a mark.
  virtual std::wstring StandInCommand(int milliseconds) = 0;
  // True once the stand-in has run to its end.
  virtual bool StandInFinished() = 0;
};

// One per test; its destructor removes what the test left.
std::unique_ptr<ProcessesEnv> MakeProcessesEnv();

}  // namespace kelpo::testing
