// The start-up: the companion files in order with one message at most, the versions, the set-up
// file, the branch to the check or completion window, and the moves between the windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_auto_set.h"
#include "app/frm_check.h"
#include "app/frm_info.h"
#include "app/main_form.h"
#include "app_fixture.h"

namespace kelpo {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kFolder = testing::kProgramFolder;
const std::wstring kTrustedSites = kFolder + L"\\TrustedSites.reg";
const std::wstring kInstaller = kFolder + L"\\install_flash_player_10_active_x.exe";
const std::wstring kIni = kFolder + L"\\Kelpo.ini";

class StartUpTest : public testing::AppTest {
 protected:
  // Runs the start-up; the start-up window stays readable until the next disposal.
  frmAutoSet& StartUp() {
    auto window = std::make_unique<frmAutoSet>(context);
    frmAutoSet& start_up = *window;
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
    testing::AppWorld world;
    world.PutCompanionFiles();
    world.files.PutCompanion(L"install_flash_player_10_active_x.exe", "", attributes);
    world.windows.Show(std::make_unique<frmAutoSet>(world.context));
    ASSERT_EQ(world.desktop.messages().size(), 1u);
    EXPECT_EQ(world.desktop.messages()[0].text, L"系统必要的文件（install_flash_player_10_active_x.exe）不存在，请与管理员联系。");
    EXPECT_TRUE(world.windows.program_ended());
  }
}

TEST_F(StartUpTest, WithoutAutomaticModeTheCheckWindowOpensAndTheStartUpWindowUnloads) {
  PutCompanionFiles("URL=http://www.example.com/x\r\nRun=AUTO\r\n");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,32,18");
  frmAutoSet& start_up = StartUp();
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(files.existence_tests(), (Names{kTrustedSites, kInstaller, kIni}));
  EXPECT_EQ(files.reads(), Names{kIni});
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  EXPECT_FALSE(windows.program_ended());
  EXPECT_FALSE(start_up.AutoMode);
  EXPECT_EQ(start_up.SetupUrl, L"http://www.example.com");
  EXPECT_EQ(start_up.lblTemp.caption(), L"10.0.32.18");
  EXPECT_EQ(start_up.lblIEVersion.caption(), L"8.0.6001.18702");
  EXPECT_EQ(start_up.Label2.caption(), L"Zandrel软件IE设置中，请稍等！");
  EXPECT_FALSE(windows.Find<FrmCheck>()->List.items().empty());
  EXPECT_TRUE(processes.journal().empty());
  EXPECT_TRUE(shell.journal().empty());
  EXPECT_TRUE(url_cache.journal().empty());
}

TEST_F(StartUpTest, AnEmptySetUpFileOpensTheCheckWindow) {
  PutCompanionFiles("");
  frmAutoSet& start_up = StartUp();
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  EXPECT_EQ(start_up.SetupUrl, L"");
  EXPECT_EQ(start_up.lblTemp.caption(), L"");
  EXPECT_EQ(start_up.lblIEVersion.caption(), L"");
}

TEST_F(StartUpTest, AutomaticModeAppliesThenOpensTheCompletionWindowWithoutAQuestion) {
  PutCompanionFiles("Run=AUTO\r\nURL=intranet\r\n");
  frmAutoSet& start_up = StartUp();
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_TRUE(start_up.AutoMode);
  EXPECT_EQ(start_up.SetupUrl, L"intranet");
  EXPECT_EQ(start_up.Label2.caption(), L"设定完成。");
}

TEST_F(StartUpTest, TheFlashVersionIsReadRawAndCutAtItsZero) {
  PutCompanionFiles();
  SetRaw(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", reg::kRegSz,
         std::string("11,1,102,55\0", 12));
  SetRaw(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", reg::kRegBinary, "8.0");
  frmAutoSet& start_up = StartUp();
  EXPECT_EQ(start_up.lblTemp.caption(), L"11.1.102.55");
  EXPECT_EQ(start_up.lblIEVersion.caption(), L"");
}

TEST_F(StartUpTest, TheCheckWindowsNextButtonOpensANewTrustedSiteWindow) {
  PutCompanionFiles();
  StartUp();
  FrmCheck* check = windows.Find<FrmCheck>();
  ASSERT_NE(check, nullptr);
  check->btnOk.Click();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
  EXPECT_FALSE(windows.program_ended());
  Main* main = windows.Find<Main>();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(main->btnDel.enabled());
  windows.DisposeUnloaded();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
}

TEST_F(StartUpTest, EveryCloseButtonEndsTheProgram) {
  {
    testing::AppWorld world;
    world.Open<FrmCheck>().btnClose.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
  {
    testing::AppWorld world;
    world.Open<Main>().btnClose.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
  {
    testing::AppWorld world;
    world.Open<frmInfo>().btnClose.Click();
    EXPECT_TRUE(world.desktop.ended());
    EXPECT_TRUE(world.windows.open_windows().empty());
  }
}

TEST_F(StartUpTest, TheHiddenUndoButtonCannotBeClicked) {
  FrmCheck& check = Open<FrmCheck>();
  const auto lines = check.List.items();
  check.btnCancel.Click();
  EXPECT_EQ(check.List.items(), lines);
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
}

}  // namespace
}  // namespace kelpo
