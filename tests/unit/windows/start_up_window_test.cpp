// The start-up: the companion files in order with one message at most, the versions, the set-up
// file, the branch to the check or completion window, and the moves between the windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/program_fixture.h"
#include "windows/completion_window.h"
#include "windows/start_up_window.h"
#include "windows/system_check_window.h"
#include "windows/trusted_sites_window.h"

namespace kelpo {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kFolder = testing::kProgramFolder;
const std::wstring kTrustedSites = kFolder + L"\\TrustedSites.reg";
const std::wstring kInstaller = kFolder + L"\\install_flash_player_10_active_x.exe";
const std::wstring kIni = kFolder + L"\\Kelpo.ini";

class StartUpTest : public testing::ProgramTest {
 protected:
  // Runs the start-up; the start-up window stays readable until the next disposal.
  StartUpWindow& StartUp() {
    auto window = std::make_unique<StartUpWindow>(context);
    StartUpWindow& start_up = *window;
    windows.Show(std::move(window));
    return start_up;
  }
  void ExpectOnlyMessage(const std::wstring& file) {
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, L"系统必要的文件（" + file + L"）不存在，请与管理员联系。");
    EXPECT_EQ(desktop.messages()[0].title, L"Kelpo");
    EXPECT_EQ(desktop.messages()[0].flags, 0x40u);
  }
  void ExpectNothingReadAndTheProgramEnded() {
    EXPECT_TRUE(registry.journal().empty());
    EXPECT_TRUE(files.reads().empty());
    EXPECT_TRUE(windows.open_windows().empty());
    EXPECT_TRUE(windows.program_ended());
  }
};

TEST_F(StartUpTest, WithAllThreeFilesMissingOnlyTheFirstIsNamed) {
  StartUp();
  ExpectOnlyMessage(L"TrustedSites.reg");
  EXPECT_EQ(files.existence_tests(), Names{kTrustedSites});
  ExpectNothingReadAndTheProgramEnded();
}

TEST_F(StartUpTest, AMissingInstallerStopsAfterTheSecondTest) {
  files.PutCompanion(L"TrustedSites.reg");
  files.PutCompanion(L"Kelpo.ini", "Run=AUTO\r\nURL=x\r\n");
  StartUp();
  ExpectOnlyMessage(L"install_flash_player_10_active_x.exe");
  EXPECT_EQ(files.existence_tests(), (Names{kTrustedSites, kInstaller}));
  ExpectNothingReadAndTheProgramEnded();
}

TEST_F(StartUpTest, AMissingSetUpFileStopsAfterTheThirdTest) {
  files.PutCompanion(L"TrustedSites.reg");
  files.PutCompanion(L"install_flash_player_10_active_x.exe");
  StartUp();
  ExpectOnlyMessage(L"Kelpo.ini");
  EXPECT_EQ(files.existence_tests(), (Names{kTrustedSites, kInstaller, kIni}));
  ExpectNothingReadAndTheProgramEnded();
}

TEST_F(StartUpTest, HiddenSystemOrFolderCompanionsCountAsMissing) {
  for (std::uint32_t attributes : {file_attr::kHidden, file_attr::kSystem, file_attr::kDirectory}) {
    testing::ProgramWorld world;
    world.PutCompanionFiles();
    world.files.PutCompanion(L"install_flash_player_10_active_x.exe", "", attributes);
    world.windows.Show(std::make_unique<StartUpWindow>(world.context));
    ASSERT_EQ(world.desktop.messages().size(), 1u);
    EXPECT_EQ(world.desktop.messages()[0].text, L"系统必要的文件（install_flash_player_10_active_x.exe）不存在，请与管理员联系。");
    EXPECT_TRUE(world.windows.program_ended());
  }
}

TEST_F(StartUpTest, WithoutAutomaticModeTheCheckWindowOpensAndTheStartUpWindowUnloads) {
  PutCompanionFiles("URL=http://www.example.com/x\r\nRun=AUTO\r\n");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,32,18");
  StartUpWindow& start_up = StartUp();
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(files.existence_tests(), (Names{kTrustedSites, kInstaller, kIni}));
  EXPECT_EQ(files.reads(), Names{kIni});
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  EXPECT_FALSE(windows.program_ended());
  EXPECT_FALSE(start_up.automatic_mode());
  EXPECT_EQ(start_up.setup_address(), L"http://www.example.com");
  EXPECT_EQ(start_up.flash_version_label.caption(), L"10.0.32.18");
  EXPECT_EQ(start_up.ie_version_label.caption(), L"8.0.6001.18702");
  EXPECT_EQ(start_up.status_label.caption(), L"Zandrel软件IE设置中，请稍等！");
  EXPECT_FALSE(windows.Find<SystemCheckWindow>()->report_list.items().empty());
  EXPECT_TRUE(processes.journal().empty());
  EXPECT_TRUE(shell.journal().empty());
  EXPECT_TRUE(url_cache.journal().empty());
}

TEST_F(StartUpTest, AnEmptySetUpFileOpensTheCheckWindow) {
  PutCompanionFiles("");
  StartUpWindow& start_up = StartUp();
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  EXPECT_EQ(start_up.setup_address(), L"");
  EXPECT_EQ(start_up.flash_version_label.caption(), L"");
  EXPECT_EQ(start_up.ie_version_label.caption(), L"");
}

TEST_F(StartUpTest, AutomaticModeAppliesThenOpensTheCompletionWindowWithoutAQuestion) {
  PutCompanionFiles("Run=AUTO\r\nURL=intranet\r\n");
  StartUpWindow& start_up = StartUp();
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_TRUE(start_up.automatic_mode());
  EXPECT_EQ(start_up.setup_address(), L"intranet");
  EXPECT_EQ(start_up.status_label.caption(), L"设定完成。");
}

TEST_F(StartUpTest, TheFlashVersionIsReadRawAndCutAtItsZero) {
  PutCompanionFiles();
  SetRaw(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", reg::kRegSz,
         std::string("11,1,102,55\0", 12));
  SetRaw(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", reg::kRegBinary, "8.0");
  StartUpWindow& start_up = StartUp();
  EXPECT_EQ(start_up.flash_version_label.caption(), L"11.1.102.55");
  EXPECT_EQ(start_up.ie_version_label.caption(), L"");
}

TEST_F(StartUpTest, TheCheckWindowsNextButtonOpensANewTrustedSiteWindow) {
  PutCompanionFiles();
  StartUp();
  SystemCheckWindow* check = windows.Find<SystemCheckWindow>();
  ASSERT_NE(check, nullptr);
  check->next_button.Click();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
  EXPECT_FALSE(windows.program_ended());
  TrustedSitesWindow* main = windows.Find<TrustedSitesWindow>();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(main->delete_button.enabled());
  windows.DisposeUnloaded();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
}

TEST_F(StartUpTest, EveryCloseButtonEndsTheProgram) {
  {
    testing::ProgramWorld world;
    world.Open<SystemCheckWindow>().close_button.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
  {
    testing::ProgramWorld world;
    world.Open<TrustedSitesWindow>().close_button.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
  {
    testing::ProgramWorld world;
    world.Open<CompletionWindow>().close_button.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
}

TEST_F(StartUpTest, TheHiddenUndoButtonCannotBeClicked) {
  SystemCheckWindow& check = Open<SystemCheckWindow>();
  const auto lines = check.report_list.items();
  check.undo_button.Click();
  EXPECT_EQ(check.report_list.items(), lines);
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
}

}  // namespace
}  // namespace kelpo
