// Starting a program, finding it among the running ones and waiting for it, over each adapter.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/env/processes_env.h"

namespace kelpo::testing {
namespace {

class ProcessesContract : public ::testing::Test {
 protected:
  void SetUp() override { env_ = MakeProcessesEnv(); }
  Processes& processes() { return env_->processes(); }

  std::optional<ProcessEntry> Running(std::uint32_t pid) {
    const auto snapshot = processes().Snapshot();
    if (!snapshot) return std::nullopt;
    const auto found = std::find_if(snapshot->begin(), snapshot->end(), [&](const auto& e) { return e.pid == pid; });
    if (found == snapshot->end()) return std::nullopt;
    return *found;
  }

  std::unique_ptr<ProcessesEnv> env_;
};

TEST_F(ProcessesContract, AStartedProgramRunsUnderItsFileNameAsThisProgramsChild) {
  const OwnedProcess started = processes().Start(env_->StandInCommand(2000));
  ASSERT_NE(started, nullptr) << "the stand-in did not start";
  const std::optional<ProcessEntry> entry = Running(started->pid());
  ASSERT_TRUE(entry.has_value()) << "the started program is not in the snapshot";
  EXPECT_EQ(entry->parent_pid, processes().OwnPid());
  EXPECT_EQ(entry->exe_name, kStandInName);
  processes().WaitUntilEnded(*started);
}

TEST_F(ProcessesContract, TheWaitOnTheStartedHandleLastsUntilTheProgramHasEnded) {
  const OwnedProcess started = processes().Start(env_->StandInCommand(500));
  ASSERT_NE(started, nullptr);
  processes().WaitUntilEnded(*started);
  EXPECT_TRUE(env_->StandInFinished());
  processes().WaitUntilEnded(*started);  // once ended, a wait returns at once
}

TEST_F(ProcessesContract, ARunningProgramOpenedByItsIdIsWaitedFor) {
  const OwnedProcess started = processes().Start(env_->StandInCommand(500));
  ASSERT_NE(started, nullptr);
  const OwnedProcess opened = processes().OpenToWait(started->pid());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->pid(), started->pid());
  processes().WaitUntilEnded(*opened);
  EXPECT_TRUE(env_->StandInFinished());
}

TEST_F(ProcessesContract, NoProcessOpensForAnIdNothingRunsUnder) {
  EXPECT_EQ(processes().OpenToWait(0), nullptr);
}

}  // namespace
}  // namespace kelpo::testing
