// The quiet run: the start-up and automatic mode's apply with no message box, and the exit
// status by its cause.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/trapped_error.h"
#include "unit/logged_entries.h"
#include "unit/program_fixture.h"
#include "windows/quiet_run.h"
#include "windows/start_up_window.h"

namespace kelpo {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;

const std::wstring kZoneMap = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap";
const std::string kDomainsPath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains*";
constexpr char kSetup[] = "Run=AUTO\r\nURL=http://www.zandrel.example/index.html\r\n";

void SeedBrowserOf(testing::ProgramWorld& world, const std::wstring& flash = L"10,0,45,2") {
  world.SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  if (!flash.empty())
    world.SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", flash);
  world.SetDword(reg::kCurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2",
                 L"CurrentLevel", 0);
}

// The writes a run made, in order: what tells two runs' applies apart.
std::vector<std::string> WritesOf(const SimRegistry& registry) {
  std::vector<std::string> writes;
  for (const RegCall& call : registry.journal())
    if (call.op == RegOp::kSetValue || call.op == RegOp::kDeleteKey || call.op == RegOp::kDeleteValue)
      writes.push_back(std::string(RegOpName(call.op)) + " " + call.path + " " + call.value + "=" + call.data);
  return writes;
}

// The world's platform with the quiet desktop in front of its own.
Platform QuietPlatformOf(const testing::ProgramWorld& world, QuietDesktop& held) {
  const Platform& p = world.platform;
  return {p.registry, p.codec, held, p.files, p.processes, p.shell, p.url_cache, p.raw_registry, p.file_system,
          p.clock, p.program_version};
}


// A program in a folder of its own, run quietly, its message boxes held back in front of the
// recording desktop.
class QuietRunTest : public testing::ProgramTest {
 protected:
  QuietDesktop quiet{desktop};
  Platform quiet_platform = QuietPlatformOf(*this, quiet);

  // Internet Explorer 8, a current Flash Player and the custom level the registry script
  // sets (the in-memory shell imports nothing): nothing for the report to fault.
  void SeedBrowser() { SeedBrowserOf(*this); }
  ExitStatus Run() { return RunQuietly(quiet_platform, quiet); }
  void ExpectNothingShown() {
    EXPECT_THAT(desktop.messages(), IsEmpty()) << "a message box reached the screen";
    EXPECT_THAT(windows.open_windows(), IsEmpty());
    EXPECT_FALSE(desktop.ended());
  }
};

TEST_F(QuietRunTest, AppliesTheSetUpSiteAndSucceeds) {
  PutCompanionFiles(kSetup);
  SeedBrowser();
  EXPECT_EQ(Run(), ExitStatus::kSucceeded);
  ExpectNothingShown();
  EXPECT_THAT(quiet.held_back(), IsEmpty());
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"\\Domains\\zandrel.example\\www"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"\\EscDomains\\zandrel.example\\www"));
  EXPECT_TRUE(processes.journal().empty() || processes.journal().front().op != ProcOp::kStart)
      << "a current Flash Player: no installer";
}

TEST_F(QuietRunTest, AppliesAsIfAutomaticModeWereOnAndWritesExactlyWhatAutomaticModeWrites) {
  // The same set-up site through the start-up window's automatic mode, in a world of its own.
  testing::ProgramWorld windowed;
  windowed.PutCompanionFiles(kSetup);
  SeedBrowserOf(windowed);
  windowed.registry.ClearJournal();
  windowed.windows.Show(std::make_unique<StartUpWindow>(windowed.context));
  ASSERT_EQ(windowed.OpenWindowNames(), std::vector<std::wstring>{L"frmInfo"});

  PutCompanionFiles("; no Run=AUTO here\r\nURL=http://www.zandrel.example/index.html\r\n");
  SeedBrowser();
  registry.ClearJournal();
  EXPECT_EQ(Run(), ExitStatus::kSucceeded);
  EXPECT_EQ(WritesOf(registry), WritesOf(windowed.registry));
  EXPECT_FALSE(WritesOf(registry).empty());
  // The same log: its start, the backup's path, each step, the completion report's totals.
  const std::vector<std::string> logged = testing::LoggedEntries(files);
  EXPECT_EQ(logged, testing::LoggedEntries(windowed.files));
  ASSERT_FALSE(logged.empty());
  EXPECT_THAT(logged.front(), ::testing::HasSubstr("automatic apply begins"));
  EXPECT_THAT(logged, ::testing::Contains(::testing::StartsWith("backup: ")));
  EXPECT_THAT(logged.back(), ::testing::StartsWith("report: "));
}

TEST_F(QuietRunTest, AMissingCompanionFileIsNotConfiguredAndChangesNothing) {
  for (const wchar_t* absent : {L"TrustedSites.reg", L"install_flash_player_10_active_x.exe", L"Kelpo.ini"}) {
    testing::ProgramWorld world;
    for (const wchar_t* name : {L"TrustedSites.reg", L"install_flash_player_10_active_x.exe", L"Kelpo.ini"})
      if (std::wstring(name) != absent) world.files.PutCompanion(name, name == std::wstring(L"Kelpo.ini") ? kSetup : "");
    QuietDesktop held(world.desktop);
    const Platform platform = QuietPlatformOf(world, held);
    EXPECT_EQ(RunQuietly(platform, held), ExitStatus::kNotConfigured) << ::testing::PrintToString(std::wstring(absent));
    EXPECT_THAT(world.desktop.messages(), IsEmpty());
    // The message the windows would have shown stays readable, for whoever wants to record it.
    EXPECT_THAT(held.held_back(), ElementsAre(Field(&HeldBackMessage::text, L"系统必要的文件（" + std::wstring(absent) +
                                                                            L"）不存在，请与管理员联系。")));
    EXPECT_THAT(world.registry.journal(), IsEmpty()) << "nothing is read or written";
  }
}

TEST_F(QuietRunTest, ASetUpFileWithoutASiteIsNotConfiguredAndChangesNothing) {
  for (const char* setup : {"", "Run=AUTO\r\n", "Run=AUTO\r\nURL=\r\n", "URL=   \r\n", "; URL=http://x.example\r\n"}) {
    testing::ProgramWorld world;
    world.PutCompanionFiles(setup);
    QuietDesktop held(world.desktop);
    const Platform platform = QuietPlatformOf(world, held);
    EXPECT_EQ(RunQuietly(platform, held), ExitStatus::kNotConfigured) << ::testing::PrintToString(std::string(setup));
    EXPECT_THAT(WritesOf(world.registry), IsEmpty());
    EXPECT_THAT(world.processes.journal(), IsEmpty()) << "the browser is not closed";
  }
}

TEST_F(QuietRunTest, AFlashPlayerMissingOrOlderThan10IsAWarning) {
  for (const std::wstring flash : {L"", L"9,0,124,0"}) {
    testing::ProgramWorld world;
    world.PutCompanionFiles(kSetup);
    SeedBrowserOf(world, flash);
    QuietDesktop held(world.desktop);
    const Platform platform = QuietPlatformOf(world, held);
    EXPECT_EQ(RunQuietly(platform, held), ExitStatus::kFailedOrWarned) << ::testing::PrintToString(flash);
    EXPECT_THAT(world.desktop.messages(), IsEmpty());
  }
}

TEST_F(QuietRunTest, ASettingTheReportFindsWrongIsAFailure) {
  PutCompanionFiles(kSetup);
  SeedBrowser();
  registry.MarkReadOnly("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\New Windows");
  EXPECT_EQ(Run(), ExitStatus::kFailedOrWarned);
  ExpectNothingShown();
}

TEST_F(QuietRunTest, AFailedStepTheReportDoesNotLookAtIsAFailure) {
  // Old add-on settings that cannot be deleted: the report looks only at the toolbars.
  PutCompanionFiles(kSetup);
  SeedBrowser();
  CreateKey(reg::kCurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\{AAAA}");
  registry.InjectFault({.op = RegOp::kDeleteKey, .path = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext*"});
  EXPECT_EQ(Run(), ExitStatus::kFailedOrWarned);
  ExpectNothingShown();
}

TEST_F(QuietRunTest, ATrappedRunTimeErrorIsAFailureAndItsBoxIsHeldBack) {
  PutCompanionFiles(kSetup);
  SeedBrowser();
  registry.InjectFault({.op = RegOp::kSetValue, .path = kDomainsPath, .status = 13, .throws = true});
  EXPECT_EQ(Run(), ExitStatus::kFailedOrWarned);
  ExpectNothingShown();
  ASSERT_FALSE(quiet.held_back().empty());
  EXPECT_EQ(quiet.held_back().front().title, kTrappedErrorTitle);
}

TEST_F(QuietRunTest, TheQuietDesktopAnswersEveryBoxAsOneThatCouldNotBeShown) {
  EXPECT_EQ(quiet.ShowMessage(L"确定要修改IE的属性吗？", L"Internet 选项", box::kYesNo | box::kIconInformation), 0);
  EXPECT_THAT(desktop.messages(), IsEmpty());
  quiet.HandlePendingMessages();
  EXPECT_EQ(desktop.pending_message_turns(), 1);
}

}  // namespace
}  // namespace kelpo
