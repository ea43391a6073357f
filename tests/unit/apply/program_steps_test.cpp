// Ending the browser, the registry-script import and the Flash Player update.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "apply/apply_steps.h"
#include "apply/program_steps.h"
#include "platform/runtime_error.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_shell.h"

namespace kelpo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CloseBrowser, EndsEveryProcessNamedIexploreInAnyCaseAndNothingElse) {
  SimProcesses processes;
  const std::uint32_t upper = processes.AddProcess("IEXPLORE.EXE");
  const std::uint32_t mixed = processes.AddProcess("Iexplore.exe");
  const std::uint32_t cut = processes.AddProcess(std::string("iexplore.exe\0junk", 17));
  const std::uint32_t backup = processes.AddProcess("iexplore.exe.bak");
  const std::uint32_t prefixed = processes.AddProcess("xiexplore.exe");
  const std::uint32_t other = processes.AddProcess("explorer.exe");
  EXPECT_TRUE(CloseBrowser(processes));
  EXPECT_FALSE(processes.IsRunning(upper));
  EXPECT_FALSE(processes.IsRunning(mixed));
  EXPECT_FALSE(processes.IsRunning(cut));
  EXPECT_TRUE(processes.IsRunning(backup));
  EXPECT_TRUE(processes.IsRunning(prefixed));
  EXPECT_TRUE(processes.IsRunning(other));
}

TEST(CloseBrowser, AProcessThatWillNotEndDoesNotStopTheOthers) {
  SimProcesses processes;
  const std::uint32_t stubborn = processes.AddProcess("iexplore.exe", false);
  const std::uint32_t willing = processes.AddProcess("iexplore.exe");
  EXPECT_FALSE(CloseBrowser(processes));  // said, but the others still ended
  EXPECT_TRUE(processes.IsRunning(stubborn));
  EXPECT_FALSE(processes.IsRunning(willing));
  EXPECT_EQ(processes.journal().size(), 3u);  // snapshot, two terminations, no wait
}

TEST(CloseBrowser, NoSnapshotEndsNothing) {
  SimProcesses processes;
  const std::uint32_t browser = processes.AddProcess("iexplore.exe");
  processes.InjectFault({.op = ProcOp::kSnapshot});
  EXPECT_FALSE(CloseBrowser(processes));
  EXPECT_TRUE(processes.IsRunning(browser));
  EXPECT_EQ(processes.journal().size(), 1u);
}

TEST(CommandLines, QuoteThePathsSoFoldersWithBlanksPass) {
  EXPECT_EQ(RegistryImportCommand(L"C:\\Program Files\\Kelpo"),
            L"regedit.exe /s  \"C:\\Program Files\\Kelpo\\TrustedSites.reg\"");
  EXPECT_EQ(FlashInstallerCommand(L"C:\\Program Files\\Kelpo"),
            L"\"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe\"");
}

TEST(UpdateFlashPlayer, RunsTheInstallerAndWaitsThroughTheHandleItsStartReturned) {
  SimProcesses processes;
  bool waited_while_running = false;
  int handles_during_wait = 0;
  processes.set_on_wait([&](std::uint32_t pid) {
    waited_while_running = processes.IsRunning(pid);
    handles_during_wait = processes.open_handles();
  });
  EXPECT_TRUE(StartAndWait(processes, FlashInstallerCommand(L"D:\\my tools")));
  ASSERT_EQ(processes.journal().size(), 2u);
  EXPECT_EQ(processes.journal()[0].op, ProcOp::kStart);
  EXPECT_EQ(processes.journal()[0].command_line, L"\"D:\\my tools\\install_flash_player_10_active_x.exe\"");
  EXPECT_EQ(processes.journal()[1].op, ProcOp::kWait);
  EXPECT_EQ(processes.journal()[1].pid, processes.journal()[0].pid);
  EXPECT_TRUE(waited_while_running);
  EXPECT_EQ(handles_during_wait, 1) << "the started handle itself, not one opened again by its id";
  EXPECT_EQ(processes.running_count(), 0u);
  EXPECT_EQ(processes.open_handles(), 0);
}

TEST(UpdateFlashPlayer, NothingWhenTheVersionIsTenOrLater) {
  SimPlatform machine;
  ApplyOutcome outcome;
  StepRecorder steps(outcome);
  UpdateFlashPlayer(machine.platform, {L"8.0", L"10.0.22.87"}, steps);
  EXPECT_THAT(machine.processes.journal(), IsEmpty());
  EXPECT_THAT(outcome.steps, ElementsAre(StepOutcome{ApplyStep::kUpdateFlashPlayer, StepResult::kNotNeeded, L"", L""}));
  UpdateFlashPlayer(machine.platform, {L"8.0", L"9.0.124.0"}, steps);
  ASSERT_EQ(outcome.steps.size(), 2u);
  EXPECT_EQ(outcome.steps[1].result, StepResult::kDone);
  EXPECT_EQ(machine.processes.journal().size(), 2u);  // started and waited for
}

TEST(UpdateFlashPlayer, AnInstallerThatCannotStartOrIsRefusedLeavesNothingToWaitFor) {
  for (const std::int32_t error : {2, 1223}) {  // not found; the user refused consent
    SimProcesses processes;
    processes.InjectFault({.op = ProcOp::kStart, .error = error});
    EXPECT_FALSE(StartAndWait(processes, FlashInstallerCommand(L"D:\\k")));
    ASSERT_EQ(processes.journal().size(), 1u);
    EXPECT_FALSE(processes.journal()[0].succeeded);
    EXPECT_EQ(processes.open_handles(), 0);
  }
}

class ImportTest : public ::testing::Test {
 protected:
  std::vector<std::string> Calls() const {
    std::vector<std::pair<std::uint64_t, std::string>> calls;
    for (const ShellCall& call : shell.journal()) calls.push_back({call.number, "run"});
    for (const ProcCall& call : processes.journal())
      calls.push_back({call.number, call.op == ProcOp::kSnapshot ? "snapshot"
                                    : call.op == ProcOp::kWait
                                        ? (call.succeeded ? "wait " : "no wait ") + std::to_string(call.pid)
                                        : "other"});
    std::sort(calls.begin(), calls.end());
    std::vector<std::string> names;
    for (const auto& call : calls) names.push_back(call.second);
    return names;
  }
  // The editor the shell starts: this program's child.
  void ShellStartsAnEditor() {
    shell.set_on_run([&](const std::wstring&) { started = processes.AddChild("REGEDIT.EXE"); });
  }

  SimShell shell;
  SimProcesses processes;
  std::uint32_t started = 0;
};

TEST_F(ImportTest, StartsTheEditorSilentlyThroughTheShell) {
  EXPECT_TRUE(ImportRegistryScript(shell, L"C:\\Kelpo dir"));
  ASSERT_EQ(shell.journal().size(), 1u);
  EXPECT_EQ(shell.journal()[0].command_line, L"regedit.exe /s  \"C:\\Kelpo dir\\TrustedSites.reg\"");
}

TEST_F(ImportTest, WaitsOnlyForTheEditorItStartedNotForOnesRunningBeforeOrOpenedByTheUser) {
  const std::uint32_t users_before = processes.AddProcess("regedit.exe");
  const std::uint32_t own_before = processes.AddChild("regedit.exe");
  std::uint32_t users_meanwhile = 0;
  shell.set_on_run([&](const std::wstring&) {
    users_meanwhile = processes.AddProcess("regedit.exe");  // the user opens the Registry Editor
    started = processes.AddChild("REGEDIT.EXE");
  });
  EXPECT_TRUE(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
  EXPECT_THAT(Calls(), ElementsAre("snapshot", "run", "snapshot", "wait " + std::to_string(started)));
  EXPECT_TRUE(processes.IsRunning(users_before));
  EXPECT_TRUE(processes.IsRunning(own_before));
  EXPECT_TRUE(processes.IsRunning(users_meanwhile));
  EXPECT_FALSE(processes.IsRunning(started));
  EXPECT_EQ(processes.open_handles(), 0);
}

TEST_F(ImportTest, AChildThatIsNotTheEditorIsNotWaitedFor) {
  shell.set_on_run([&](const std::wstring&) { processes.AddChild("regedit.exe.bak"); });
  EXPECT_TRUE(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
  EXPECT_THAT(Calls(), ElementsAre("snapshot", "run", "snapshot"));
}

TEST_F(ImportTest, WhenEitherSnapshotFailsNothingIsWaitedForButTheScriptIsStillImported) {
  for (const int failing : {0, 1}) {
    SimShell shell_here;
    SimProcesses processes_here;
    shell_here.set_on_run([&](const std::wstring&) { processes_here.AddChild("regedit.exe"); });
    processes_here.InjectFault({.op = ProcOp::kSnapshot, .skip = failing, .times = 1});
    EXPECT_TRUE(ImportRegistryScriptAndWait(shell_here, processes_here, L"C:\\K"));
    EXPECT_EQ(shell_here.journal().size(), 1u) << "snapshot " << failing << " failing";
    for (const ProcCall& call : processes_here.journal()) EXPECT_NE(call.op, ProcOp::kWait);
    EXPECT_EQ(processes_here.running_count(), 1u) << "the editor is left to run";
  }
}

TEST_F(ImportTest, AnEditorThatCannotBeOpenedIsNotWaitedFor) {
  ShellStartsAnEditor();
  processes.InjectFault({.op = ProcOp::kWait, .subject = L"REGEDIT"});
  EXPECT_TRUE(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
  EXPECT_THAT(Calls(), ElementsAre("snapshot", "run", "snapshot", "no wait " + std::to_string(started)));
  EXPECT_TRUE(processes.IsRunning(started));
  EXPECT_EQ(processes.open_handles(), 0);
}

TEST_F(ImportTest, AShellThatFailsStartsNothingAndWaitsForNothing) {
  shell.InjectFault({.op = ShellOp::kRun});
  EXPECT_FALSE(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
  EXPECT_THAT(Calls(), ElementsAre("snapshot", "run"));
}

TEST_F(ImportTest, AShellThatCannotBeCreatedIsARunTimeError) {
  shell.InjectFault({ShellOp::kRun, L"", true, 429});
  try {
    static_cast<void>(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
    FAIL() << "no run-time error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 429);
  }
}

TEST_F(ImportTest, AnEditorThatEndedAtOnceIsNotWaitedFor) {
  EXPECT_TRUE(ImportRegistryScriptAndWait(shell, processes, L"C:\\K"));
  EXPECT_THAT(Calls(), ElementsAre("snapshot", "run", "snapshot"));
}

}  // namespace
}  // namespace kelpo
