// The check window's report: every line, its order and its separators, for the browser versions,
// the tab values, the Flash Player versions and unreadable or mistyped registry values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/program_fixture.h"
#include "windows/system_check_window.h"

namespace kelpo {
namespace {

using Lines = std::vector<std::wstring>;

const std::wstring kSep(162, L'-');
const std::wstring kPopupOk = L"成功    关闭弹出窗口阻止程序";
const std::wstring kPopupWarn = L"警告    关闭弹出窗口阻止程序";
const std::wstring kHttpsOk = L"成功    关闭对该区域中的所有站点要求服务器验证(https:)";
const std::wstring kHttpsWarn = L"警告    关闭对该区域中的所有站点要求服务器验证(https:)";
const std::wstring kLevelOk = L"成功    设定可信任站点安全级别为自定义级别";
const std::wstring kLevelWarn = L"警告    设定可信任站点安全级别为自定义级别";
const std::wstring kTabNewTab = L"警告    选项卡--遇到弹出窗口时：始终在新选项卡中打开窗口";
const std::wstring kTabIeDecides = L"成功    选项卡--遇到弹出窗口时：由IE决定如何打开弹出窗口";
const std::wstring kTabNewWindow = L"成功    选项卡--遇到弹出窗口时：始终在新窗口中打开窗口";
const std::wstring kFlashMissing = L"警告    Flash player尚未安装";
const std::wstring kFlashTooOld = L"警告    Flash player当前版本过低";
const std::wstring kFlashIs = L"成功    Flash player当前版本为";

const wchar_t* const kIeKey = L"SOFTWARE\\Microsoft\\Internet Explorer";
const wchar_t* const kFlashKey = L"SOFTWARE\\Macromedia\\FlashPlayer";
const wchar_t* const kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
const wchar_t* const kZone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
const wchar_t* const kTabs = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";

struct CheckWorld : testing::ProgramWorld {
  // A browser configured as the program wants it.
  void Configure(const std::wstring& ie_version, const std::wstring& flash_version = L"10,0,45,2") {
    if (!ie_version.empty()) SetSz(reg::kLocalMachine, kIeKey, L"Version", ie_version);
    SetDword(reg::kCurrentUser, kNewWindows, L"PopupMgr", 0);
    SetDword(reg::kCurrentUser, kZone, L"Flags", 67);
    SetDword(reg::kCurrentUser, kZone, L"CurrentLevel", 0);
    SetDword(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", 0);
    if (!flash_version.empty()) SetSz(reg::kLocalMachine, kFlashKey, L"CurrentVersion", flash_version);
  }

  void DeleteKey(HKey root, const wchar_t* path) {
    HKey key = 0;
    if (registry.OpenKey(root, codec.ToAnsi(path), &key) == reg::kSuccess) registry.DeleteKey(key, "");
  }
  Lines Report() { return Open<SystemCheckWindow>().report_list.items(); }
  // The lines between the security-level check and the Flash Player line.
  Lines TabLines() {
    const Lines lines = Report();
    EXPECT_GE(lines.size(), 8u);
    return Lines(lines.begin() + 6, lines.end() - 2);
  }
};

class CheckReportTest : public ::testing::Test, public CheckWorld {};

TEST_F(CheckReportTest, FullyConfiguredIe8GivesTenLinesInOrder) {
  Configure(L"8.0.6001.18702");
  SystemCheckWindow& window = Open<SystemCheckWindow>();
  EXPECT_EQ(window.report_list.items(), (Lines{kPopupOk, kSep, kHttpsOk, kSep, kLevelOk, kSep, kTabIeDecides, kSep,
                                        kFlashIs + L"10.0.45.2", kSep}));
  EXPECT_EQ(window.ie_version_label.caption(), L"8.0.6001.18702");
  EXPECT_EQ(window.flash_version_label.caption(), L"10.0.45.2");
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(CheckReportTest, Ie6HasNoTabLineAndNoSeparatorForIt) {
  Configure(L"6.0.2900.5512");
  EXPECT_EQ(Report(), (Lines{kPopupOk, kSep, kHttpsOk, kSep, kLevelOk, kSep, kFlashIs + L"10.0.45.2", kSep}));
}

TEST_F(CheckReportTest, Ie6WithBlanksBeforeTheDigitIsStillIe6) {
  Configure(L"  6.0");
  EXPECT_EQ(Report().size(), 8u);
}

TEST_F(CheckReportTest, TabValuesOnIe7) {
  struct Case {
    std::wstring text;  // a REG_SZ; "dword:N" for a DWORD; "missing" for no value
    Lines tab_lines;
  };
  const std::vector<Case> cases = {
      {L"dword:0", {kTabIeDecides, kSep}},
      {L"dword:1", {kTabNewWindow, kSep}},
      {L"dword:2", {kTabNewTab, kSep}},
      {L"dword:3", {}},
      {L"0", {kTabIeDecides, kSep}},
      {L"2", {kTabNewTab, kSep}},
      {L"", {}},
      {L"missing", {}},
      {L"one", {}},
      {L"dword:4294967295", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
    CheckWorld world;
    world.Configure(L"7.0.5730.13");
    world.DeleteKey(reg::kCurrentUser, kTabs);
    if (c.text.starts_with(L"dword:"))
      world.SetDword(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow",
                     static_cast<std::uint32_t>(std::stoul(c.text.substr(6))));
    else if (c.text != L"missing")
      world.SetSz(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", c.text);
    EXPECT_EQ(world.TabLines(), c.tab_lines);
  }
}

TEST_F(CheckReportTest, AnEmptyTabValueGivesTheNewWindowLineOnlyOnIe8) {
  Configure(L"8.0.6001.18702");
  SetSz(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", L"");
  EXPECT_EQ(TabLines(), (Lines{kTabNewWindow, kSep}));
}

TEST_F(CheckReportTest, AMissingTabValueOnIe8GivesTheNewWindowLine) {
  Configure(L"8.0.6001.18702");
  DeleteKey(reg::kCurrentUser, kTabs);
  EXPECT_EQ(TabLines(), (Lines{kTabNewWindow, kSep}));
}

TEST_F(CheckReportTest, AnEmptyIeVersionRunsTheTabStepWithoutTheIe8Rule) {
  Configure(L"");
  SetDword(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", 1);
  SystemCheckWindow& window = Open<SystemCheckWindow>();
  EXPECT_EQ(window.ie_version_label.caption(), L"");
  EXPECT_EQ(Lines(window.report_list.items().begin() + 6, window.report_list.items().end() - 2), (Lines{kTabNewWindow, kSep}));
}

TEST_F(CheckReportTest, AnEmptyIeVersionAndNoTabValueGiveNoTabLine) {
  Configure(L"");
  SetSz(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", L"");
  EXPECT_EQ(TabLines(), Lines{});
}

TEST_F(CheckReportTest, Ie11TakesThePathOfNeither) {
  Configure(L"11.0.9600.16384");
  SetSz(reg::kCurrentUser, kTabs, L"PopupsUseNewWindow", L"");
  EXPECT_EQ(TabLines(), Lines{});
}

TEST_F(CheckReportTest, FlashPlayerVersions) {
  struct Case {
    std::wstring stored;  // empty: no key
    std::wstring caption;
    std::wstring line;
  };
  const std::vector<Case> cases = {
      {L"", L"", kFlashMissing},
      {L"9,0,124,0", L"9.0.124.0", kFlashTooOld},
      {L"10,0,45,2", L"10.0.45.2", kFlashIs + L"10.0.45.2"},
      {L"11,1,102,55", L"11.1.102.55", kFlashIs + L"11.1.102.55"},
      {L"10.0.22.87", L"10.0.22.87", kFlashIs + L"10.0.22.87"},
      {L"10", L"10", kFlashIs + L"10"},
      {L"9", L"9", kFlashTooOld},
      {L"abc", L"abc", kFlashTooOld},
      {L"WIN 10,0", L"WIN 10.0", kFlashTooOld},
      {L" 10,1 ", L" 10.1 ", kFlashIs + L" 10.1 "},
      {L"   ", L"   ", kFlashMissing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
    CheckWorld world;
    world.Configure(L"8.0", c.stored);
    SystemCheckWindow& window = world.Open<SystemCheckWindow>();
    EXPECT_EQ(window.flash_version_label.caption(), c.caption);
    ASSERT_EQ(window.report_list.items().size(), 10u);
    EXPECT_EQ(window.report_list.items()[8], c.line);
    EXPECT_EQ(window.report_list.items()[9], kSep);
  }
}

TEST_F(CheckReportTest, OnlyTheExactValuesSucceed) {
  Configure(L"8.0");
  SetDword(reg::kCurrentUser, kNewWindows, L"PopupMgr", 1);
  SetDword(reg::kCurrentUser, kZone, L"Flags", 71);
  SetDword(reg::kCurrentUser, kZone, L"CurrentLevel", 0x10000);
  const Lines lines = Report();
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 6), (Lines{kPopupWarn, kSep, kHttpsWarn, kSep, kLevelWarn, kSep}));
}

TEST_F(CheckReportTest, StringValuesAreComparedAsNumbers) {
  Configure(L"8.0");
  SetSz(reg::kCurrentUser, kNewWindows, L"PopupMgr", L"0");
  SetSz(reg::kCurrentUser, kZone, L"Flags", L"67");
  SetSz(reg::kCurrentUser, kZone, L"CurrentLevel", L"no");
  const Lines lines = Report();
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 6), (Lines{kPopupOk, kSep, kHttpsOk, kSep, kLevelWarn, kSep}));
}

TEST_F(CheckReportTest, NothingReadableGivesTheWarningsAndTheMissingFlashLine) {
  EXPECT_EQ(Report(), (Lines{kPopupWarn, kSep, kHttpsWarn, kSep, kLevelWarn, kSep, kFlashMissing, kSep}));
}

TEST_F(CheckReportTest, ValuesOfTheWrongTypeReadAsEmpty) {
  for (std::uint32_t type : {reg::kRegExpandSz, reg::kRegBinary, reg::kRegMultiSz, 11u /* QWORD */}) {
    SCOPED_TRACE(::testing::Message() << "type " << type);
    CheckWorld world;
    world.SetRaw(reg::kLocalMachine, kIeKey, L"Version", type, std::string("8.0\0", 4));
    for (const auto& [path, name] : std::vector<std::pair<const wchar_t*, const wchar_t*>>{
             {kNewWindows, L"PopupMgr"}, {kZone, L"Flags"}, {kZone, L"CurrentLevel"}, {kTabs, L"PopupsUseNewWindow"}})
      world.SetRaw(reg::kCurrentUser, path, name, type, std::string(8, '\0'));
    world.SetRaw(reg::kLocalMachine, kFlashKey, L"CurrentVersion", type, "10,0,45,2");
    SystemCheckWindow& window = world.Open<SystemCheckWindow>();
    EXPECT_EQ(window.ie_version_label.caption(), L"");
    EXPECT_EQ(window.report_list.items(), (Lines{kPopupWarn, kSep, kHttpsWarn, kSep, kLevelWarn, kSep, kFlashMissing, kSep}));
  }
}

TEST_F(CheckReportTest, ADwordIeVersionIsItsDigitsAndADwordFlashVersionIsAMajorPartAlone) {
  Configure(L"");
  SetDword(reg::kLocalMachine, kIeKey, L"Version", 6);
  SetDword(reg::kLocalMachine, kFlashKey, L"CurrentVersion", 11);
  SystemCheckWindow& window = Open<SystemCheckWindow>();
  EXPECT_EQ(window.ie_version_label.caption(), L"6");
  EXPECT_EQ(window.report_list.items(), (Lines{kPopupOk, kSep, kHttpsOk, kSep, kLevelOk, kSep, kFlashIs + L"11", kSep}));
}

TEST_F(CheckReportTest, TheCheckOnlyReadsAndClosesEveryKey) {
  Configure(L"8.0");
  registry.ClearJournal();
  Report();
  for (const RegCall& call : registry.journal()) {
    EXPECT_NE(call.op, RegOp::kSetValue);
    EXPECT_NE(call.op, RegOp::kCreateKey);
    EXPECT_NE(call.op, RegOp::kDeleteKey);
  }
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(CheckReportTest, RegistryFaultsReadAsEmptyAndShowNothing) {
  Configure(L"8.0");
  registry.InjectFault({RegOp::kQueryValue, "", reg::kAccessDenied});
  EXPECT_EQ(Report(), (Lines{kPopupWarn, kSep, kHttpsWarn, kSep, kLevelWarn, kSep, kFlashMissing, kSep}));
  EXPECT_TRUE(desktop.messages().empty());
}

}  // namespace
}  // namespace kelpo
