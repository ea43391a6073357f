// Both paths through the windows, headless: start-up to the completion window, with the
// registry afterwards as the configuration wants it.
#include <gtest/gtest.h>

#include "app/frm_auto_set.h"
#include "app/frm_check.h"
#include "app/frm_info.h"
#include "app/main_form.h"
#include "app_fixture.h"
#include "registry/module1.h"

namespace kelpo {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kZoneMap = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\";

class ProgramPathTest : public testing::AppTest {
 protected:
  void StartUp() { windows.Show(std::make_unique<frmAutoSet>(context)); }
  std::wstring Dword(HKey root, const std::wstring& path, const std::wstring& name) {
    return Module1(platform).ReadRegValue(root, path, name);
  }
};

TEST_F(ProgramPathTest, InteractiveRunFromTheCheckWindowToTheCompletionReport) {
  PutCompanionFiles();
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
  SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,45,2");
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\keep.example.com", L"https", 2);
  StartUp();
  ASSERT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  windows.Find<FrmCheck>()->btnOk.Click();
  Main& main = *windows.Find<Main>();
  EXPECT_EQ(main.lstWebSite.items(), (Names{L"https://keep.example.com", L"http://old.example.com"}));
  main.lstWebSite.Click(1);
  main.btnDel.Click();
  main.txtWebSite.SetText(L"http://www.example.com/index.htm");
  main.btnAdd.Click();
  main.btnOk.Click();
  ASSERT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_EQ(desktop.messages().back().text, L"确定要修改IE的属性吗？");
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Domains\\keep.example.com", L"https"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Domains\\example.com\\www", L"http"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2", L"1409"),
            L"0");
  const frmInfo& info = *windows.Find<frmInfo>();
  EXPECT_EQ(info.List.items().front(), L"成功    关闭弹出窗口阻止程序");
  EXPECT_EQ(info.lblIEVersion.caption(), L"8.0.6001.18702");
  // Flash Player 10 is current: no installer was started.
  for (const ProcCall& call : processes.journal())
    EXPECT_EQ(call.command_line.find(L"install_flash_player"), std::wstring::npos);
}

TEST_F(ProgramPathTest, AnsweringNoKeepsTheTrustedSiteWindowAndTheZoneMap) {
  PutCompanionFiles();
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  StartUp();
  windows.Find<FrmCheck>()->btnOk.Click();
  desktop.QueueAnswer(box::kAnswerNo);
  windows.Find<Main>()->btnOk.Click();
  EXPECT_EQ(OpenWindowNames(), Names{L"Main"});
  EXPECT_TRUE(windows.Find<Main>()->btnOk.enabled());
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));
}

TEST_F(ProgramPathTest, AutomaticRunAddsTheSetUpSiteUnderBothKeysAndReports) {
  PutCompanionFiles("Run=AUTO\r\nURL=http://10.0.0.5/app\r\n");
  SetDword(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com", L"http", 2);
  StartUp();
  ASSERT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kZoneMap + L"Domains\\old.example.com"));  // added to, not rebuilt
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"Ranges\\Range1", L"http"), L"2");
  EXPECT_EQ(Dword(reg::kCurrentUser, kZoneMap + L"EscRanges\\Range1", L":Range"), L"10.0.0.5");
  // No Flash Player: the installer ran and was waited for.
  bool installer_started = false;
  for (const ProcCall& call : processes.journal())
    installer_started |= call.command_line == L"\"" + testing::kProgramFolder + L"\\install_flash_player_10_active_x.exe\"";
  EXPECT_TRUE(installer_started);
}

}  // namespace
}  // namespace kelpo
