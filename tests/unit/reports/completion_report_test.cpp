// The completion window: every check again with success, failure and warning lines, the add-on
// lines, and the totals with the place of each sign.
#include <gtest/gtest.h>

#include "unit/program_fixture.h"
#include "windows/completion_window.h"

namespace kelpo {
namespace {

using Lines = std::vector<std::wstring>;
using testing::Hyphens;

const std::wstring kZone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
const std::wstring kTabs = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
const std::wstring kStats = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";
const std::wstring kSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";

const std::wstring kPopupOk = L"成功    关闭弹出窗口阻止程序";
const std::wstring kFlagsOk = L"成功    关闭对该区域中的所有站点要求服务器验证(https:)";
const std::wstring kLevelOk = L"成功    设定可信任站点安全级别为自定义级别";
const std::wstring kTabsOk = L"成功    选项卡--遇到弹出窗口时：由IE决定如何打开弹出窗口";

class CompletionReportTest : public testing::ProgramTest {
 protected:
  void Ie(const std::wstring& version) {
    SetSz(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", version);
  }
  void Flash(const std::wstring& version) {
    SetSz(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", version);
  }
  void Configured() {
    SetDword(reg::kCurrentUser, L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows", L"PopupMgr", 0);
    SetDword(reg::kCurrentUser, kZone, L"Flags", 67);
    SetDword(reg::kCurrentUser, kZone, L"CurrentLevel", 0);
    SetDword(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", 0);
  }
  void Toolbar(const std::wstring& id, const std::wstring& name, bool disabled) {
    CreateKey(reg::kCurrentUser, kStats + L"\\" + id);
    SetSz(reg::kClassesRoot, L"CLSID\\" + id, L"", name);
    if (disabled) SetDword(reg::kCurrentUser, kSettings + L"\\" + id, L"Flags", 1);
  }
};

TEST_F(CompletionReportTest, ConfiguredIe8WithFlash10AndADisabledToolbar) {
  Ie(L"8.0.6001.18702");
  Flash(L"10,0,45,2");
  Configured();
  Toolbar(L"{AAAA}", L"Google Toolbar", true);
  CompletionWindow& info = Open<CompletionWindow>();
  const std::wstring sep = Hyphens(162);
  EXPECT_EQ(info.report_list.items(), (Lines{kPopupOk, sep, kFlagsOk, sep, kLevelOk, sep, kTabsOk, sep,
                                      L"成功    Flash player当前版本为10.0.45.2", sep,
                                      L"成功    已禁用Google Toolbar", Hyphens(161)}));
  EXPECT_EQ(info.totals_label.caption(), L"总计：6   成功： 6   失败： 0   警告： 0");
  EXPECT_EQ(info.ie_version_label.caption(), L"8.0.6001.18702");
  EXPECT_EQ(info.flash_version_label.caption(), L"10.0.45.2");
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(CompletionReportTest, SixSuccessesNoFailureAndOneWarningReadExactly) {
  Ie(L"7.0.5730.13");
  Configured();
  Toolbar(L"{A}", L"百度工具栏", true);
  Toolbar(L"{B}", L"Yahoo! Toolbar", true);
  CompletionWindow& info = Open<CompletionWindow>();
  EXPECT_EQ(info.totals_label.caption(), L"总计：7   成功： 6   失败： 0   警告： 1");
  EXPECT_EQ(info.report().successes, 6);
  EXPECT_EQ(info.report().failures, 0);
  EXPECT_EQ(info.report().warnings, 1);
}

TEST_F(CompletionReportTest, NothingAppliedFailsEachSettingAndWarnsOfFlash) {
  Toolbar(L"{C}", L"Some Toolbar", false);
  CompletionWindow& info = Open<CompletionWindow>();
  const std::wstring sep = Hyphens(162);
  EXPECT_EQ(info.report_list.items(), (Lines{L"失败    关闭弹出窗口阻止程序", sep,
                                      L"失败    关闭对该区域中的所有站点要求服务器验证(https:)", sep,
                                      L"失败    设定可信任站点安全级别为自定义级别", sep,
                                      sep,  // the tab step's one separator, with no line
                                      L"警告    Flash player尚未安装", sep,
                                      L"失败    禁用其他IE工具栏：Some Toolbar", Hyphens(161)}));
  EXPECT_EQ(info.totals_label.caption(), L"总计：5   成功： 0   失败： 4   警告： 1");
}

TEST_F(CompletionReportTest, Ie6HasNoTabStepAtAll) {
  Ie(L" 6.0.2900.5512");
  Flash(L"9,0,124,0");
  Configured();
  CompletionWindow& info = Open<CompletionWindow>();
  const std::wstring sep = Hyphens(162);
  EXPECT_EQ(info.report_list.items(), (Lines{kPopupOk, sep, kFlagsOk, sep, kLevelOk, sep,
                                      L"警告    Flash player当前版本过低", sep}));
  EXPECT_EQ(info.totals_label.caption(), L"总计：4   成功： 3   失败： 0   警告： 1");
}

struct TabCase {
  std::wstring version;
  std::optional<std::uint32_t> value;
  std::vector<std::wstring> tab_lines;  // between the level line's separator and the Flash line
  int successes;
  int failures;
};

void PrintTo(const TabCase& tab, std::ostream* out) {
  *out << "IE " << ::testing::PrintToString(tab.version) << ", tab value "
       << (tab.value ? std::to_string(*tab.value) : std::string("none"));
}

class TabStep : public CompletionReportTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabStep, WritesItsLinesThenOneSeparator) {
  Ie(GetParam().version);
  Flash(L"11,1,102,55");
  SetDword(reg::kCurrentUser, L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows", L"PopupMgr", 0);
  if (GetParam().value) SetDword(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", *GetParam().value);
  CompletionWindow& info = Open<CompletionWindow>();
  const Lines& items = info.report_list.items();
  ASSERT_GE(items.size(), 8u);
  const Lines tab(items.begin() + 6, items.end() - 2);
  EXPECT_EQ(tab, GetParam().tab_lines);
  EXPECT_EQ(info.report().successes, 2 + GetParam().successes);  // pop-up blocker and Flash
  EXPECT_EQ(info.report().failures, 2 + GetParam().failures);   // zone flags and level
}

INSTANTIATE_TEST_SUITE_P(
    Values, TabStep,
    ::testing::Values(
        TabCase{L"8.0", 0, {kTabsOk, Hyphens(162)}, 1, 0},
        TabCase{L"8.0", 1, {L"成功    选项卡--遇到弹出窗口时：始终在新窗口中打开窗口", Hyphens(162)}, 1, 0},
        TabCase{L"7.0", 2, {L"失败    选项卡--遇到弹出窗口时：始终在新选项卡中打开窗口", Hyphens(162)}, 0, 1},
        TabCase{L"8.0", 3, {Hyphens(162)}, 0, 0},
        TabCase{L"8.0", std::nullopt, {Hyphens(162)}, 0, 0},
        TabCase{L"", 0, {kTabsOk, Hyphens(162)}, 1, 0}));

TEST_F(CompletionReportTest, CloseEndsTheProgram) {
  CompletionWindow& info = Open<CompletionWindow>();
  info.close_button.Click();
  EXPECT_TRUE(windows.program_ended());
}

}  // namespace
}  // namespace kelpo
