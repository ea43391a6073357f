// Add-on inspection: the check window's and the completion window's lines, the toolbar name of
// a class registration, and the disabling both applies do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/add_on_inspection.h"
#include "support/gbk_codec.h"
#include "unit/program_fixture.h"
#include "windows/system_check_window.h"

namespace kelpo {
namespace {

using Lines = std::vector<std::wstring>;

const wchar_t* const kStats = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";
const wchar_t* const kSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
const std::wstring kSep162(162, L'-');
const std::wstring kSep161(161, L'-');

std::wstring Installed(const std::wstring& name) { return L"警告    已安装其他IE工具栏：" + name; }
std::wstring Disabled(const std::wstring& name) { return L"成功    已禁用" + name; }
std::wstring NotDisabled(const std::wstring& name) { return L"失败    禁用其他IE工具栏：" + name; }

struct AddonWorld : testing::ProgramWorld {
  // An add-on known to the browser, with its registered name (none when empty).
  void AddAddon(const std::string& identifier, const std::wstring& name) {
    AddStatsKey(identifier);
    if (!name.empty()) SetSz(reg::kClassesRoot, L"CLSID\\" + codec.FromAnsi(identifier), L"", name);
  }
  // The subkey of Ext\Stats alone, created below an open Stats key (so its name may be long).
  void AddStatsKey(const std::string& identifier) {
    HKey stats = 0;
    ASSERT_EQ(registry.CreateKey(reg::kCurrentUser, codec.ToAnsi(kStats), &stats), reg::kSuccess);
    HKey key = 0;
    ASSERT_EQ(registry.CreateKey(stats, identifier, &key), reg::kSuccess);
    registry.CloseKey(key);
    registry.CloseKey(stats);
  }
  // The add-on lines the check window writes (the check lines before them are dropped).
  Lines CheckAddonLines() {
    const Lines lines = Open<SystemCheckWindow>().report_list.items();
    const std::size_t checks = 8;  // no browser configured: eight check lines
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(checks), lines.end());
  }
  std::vector<std::pair<std::string, std::string>> SettingsValues(const std::string& identifier) {
    std::vector<std::pair<std::string, std::string>> values;
    HKey key = 0;
    if (registry.OpenKey(reg::kCurrentUser, codec.ToAnsi(kSettings) + "\\" + identifier, &key) != reg::kSuccess)
      return values;
    for (std::uint32_t i = 0;; ++i) {
      char name[256];
      std::uint8_t data[256];
      std::uint32_t name_size = 256, data_size = 256, type = 0;
      if (registry.EnumValue(key, i, name, &name_size, &type, data, &data_size) != reg::kSuccess) break;
      values.emplace_back(std::string(name, name_size) + ":" + std::to_string(type),
                          std::string(reinterpret_cast<char*>(data), data_size));
    }
    registry.CloseKey(key);
    return values;
  }
};

class AddonTest : public ::testing::Test, public AddonWorld {};

TEST_F(AddonTest, CheckWindowReportsToolbarsInRegistryOrderWhateverTheirCase) {
  AddAddon("{C}", L"my toolbar");
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{D}", L"百度工具栏");
  AddAddon("{B}", L"TOOLBAR Deluxe");
  AddAddon("{E}", L"Adobe PDF Reader");
  AddAddon("{F}", L"");          // no registered name
  AddStatsKey("{G}");            // no class key at all
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"Google Toolbar"), kSep162, Installed(L"TOOLBAR Deluxe"), kSep162,
                                      Installed(L"my toolbar"), kSep162, Installed(L"百度工具栏"), kSep162}));
}

TEST_F(AddonTest, HelpersAndNotifiersAreNeverReported) {
  AddAddon("{A}", L"Google Toolbar Helper");
  AddAddon("{B}", L"Google Toolbar Notifier");
  AddAddon("{C}", L"toolbar helper");
  AddAddon("{D}", L"工具栏 notifier");
  EXPECT_EQ(CheckAddonLines(), Lines{});
}

TEST_F(AddonTest, TwoIdentifiersWithOneNameGiveOneLineAndLaterNamesStillCount) {
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{B}", L"Google Toolbar");
  AddAddon("{C}", L"Yahoo! Toolbar");
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"Google Toolbar"), kSep162, Installed(L"Yahoo! Toolbar"), kSep162}));
}

TEST_F(AddonTest, ANameInsideAnyEarlierLineIsPassedOverCaseSensitively) {
  AddAddon("{A}", L"Ask Toolbar");
  AddAddon("{B}", L"Toolbar");       // inside the line of {A}
  AddAddon("{C}", L"ask toolbar");   // another case: a line of its own
  AddAddon("{D}", L"工具栏");         // inside every add-on line: "已安装其他IE工具栏："
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"Ask Toolbar"), kSep162, Installed(L"ask toolbar"), kSep162}));
}

TEST_F(AddonTest, ANameThatIsJustTheWordIsReportedWhenNoAddonLineIsThereYet) {
  AddAddon("{A}", L"工具栏");
  AddAddon("{B}", L"IE工具栏");
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"工具栏"), kSep162}));
}

TEST_F(AddonTest, NoStatsKeyMeansNoAddonLineAndNothingDisabled) {
  SetSz(reg::kClassesRoot, L"CLSID\\{A}", L"", L"Google Toolbar");
  EXPECT_EQ(CheckAddonLines(), Lines{});
  registry.ClearJournal();
  DisableToolbarAddOns(platform);
  for (const RegCall& call : registry.journal()) EXPECT_NE(call.op, RegOp::kCreateKey);
}

TEST_F(AddonTest, TheNameIsCutAtItsFirstZeroAndAMistypedNameIsNoName) {
  SetRaw(reg::kClassesRoot, L"CLSID\\{A}", L"", reg::kRegSz, std::string("Bing Toolbar\0Junk\0", 18));
  AddStatsKey("{A}");
  AddStatsKey("{B}");
  SetRaw(reg::kClassesRoot, L"CLSID\\{B}", L"", reg::kRegBinary, "Binary Toolbar");
  AddStatsKey("{C}");
  SetRaw(reg::kClassesRoot, L"CLSID\\{C}", L"", reg::kRegExpandSz, std::string("Expand Toolbar\0", 15));
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"Bing Toolbar"), kSep162}));
}

TEST_F(AddonTest, AHugeNameIsReportedWhole) {
  const std::wstring name = L"Toolbar " + std::wstring(100000, L'x');
  AddAddon("{A}", name);
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(name), kSep162}));
}

TEST_F(AddonTest, AnIdentifierTooLongForTheBufferEndsTheWalk) {
  AddAddon("{A}", L"A Toolbar");
  const std::string long_id = "{B" + std::string(252, 'x') + "}";  // 255 characters: no room for the zero
  ASSERT_EQ(long_id.size(), 255u);
  AddStatsKey(long_id);
  AddAddon("{C}", L"C Toolbar");
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"A Toolbar"), kSep162}));
}

TEST_F(AddonTest, AnIdentifierThatJustFitsIsRead) {
  const std::string id = "{B" + std::string(251, 'x') + "}";  // 254 characters and the zero
  AddAddon(id, L"B Toolbar");
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"B Toolbar"), kSep162}));
}

TEST_F(AddonTest, AnIdentifierHoldingAZeroIsTakenUpToIt) {
  AddStatsKey(std::string("{N}\0tail", 8));
  SetSz(reg::kClassesRoot, L"CLSID\\{N}", L"", L"Zero Toolbar");
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"Zero Toolbar"), kSep162}));
  DisableToolbarAddOns(platform);
  EXPECT_EQ(SettingsValues("{N}").size(), 2u);
}

TEST_F(AddonTest, AFailingWalkStopsQuietly) {
  AddAddon("{A}", L"A Toolbar");
  AddAddon("{B}", L"B Toolbar");
  registry.InjectFault({RegOp::kEnumKeyEx, "", reg::kAccessDenied, false, 1});
  EXPECT_EQ(CheckAddonLines(), (Lines{Installed(L"A Toolbar"), kSep162}));
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(AddonTest, DisablingWritesFlagsAndVersionForEveryToolbarHelpersIncluded) {
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{B}", L"Google Toolbar Helper");
  AddAddon("{C}", L"Adobe PDF Reader");
  AddStatsKey("{D}");
  SetSz(reg::kClassesRoot, L"CLSID\\{D}", L"Other", L"named value 工具栏");  // any value counts
  AddStatsKey("{E}");
  SetRaw(reg::kClassesRoot, L"CLSID\\{E}", L"", reg::kRegBinary, "raw toolbar");  // any type too
  DisableToolbarAddOns(platform);
  const std::vector<std::pair<std::string, std::string>> disabled = {{"Flags:4", std::string("\1\0\0\0", 4)},
                                                                     {"Version:1", "*"}};
  EXPECT_EQ(SettingsValues("{A}"), disabled);
  EXPECT_EQ(SettingsValues("{B}"), disabled);
  EXPECT_TRUE(SettingsValues("{C}").empty());
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, std::wstring(kSettings) + L"\\{C}"));
  EXPECT_EQ(SettingsValues("{D}"), disabled);
  EXPECT_EQ(SettingsValues("{E}"), disabled);
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(AddonTest, DisablingOpensEachSettingsKeyOnceForEachOfItsTwoValues) {
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{B}", L"Toolbar Notifier");
  AddAddon("{C}", L"Reader");
  registry.ClearJournal();
  DisableToolbarAddOns(platform);
  std::vector<std::string> calls;
  for (const RegCall& call : registry.journal())
    if (call.op == RegOp::kSetValue || call.op == RegOp::kCreateKey)
      calls.push_back(std::string(RegOpName(call.op)) + " " + call.path + " " + call.value + " " + call.data);
  const std::string settings = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "CreateKey " + settings + "{A}  ", "SetValue " + settings + "{A} Flags " + std::string("\1\0\0\0", 4),
                       "CreateKey " + settings + "{A}  ", "SetValue " + settings + "{A} Version *",
                       "CreateKey " + settings + "{B}  ", "SetValue " + settings + "{B} Flags " + std::string("\1\0\0\0", 4),
                       "CreateKey " + settings + "{B}  ", "SetValue " + settings + "{B} Version *"}));
}

TEST_F(AddonTest, TheToolbarNameOfAClassIsTheLastValueTextNamingOne) {
  SetRaw(reg::kClassesRoot, L"CLSID\\{A}", L"", reg::kRegSz, std::string("Yahoo! toolbar Helper\0", 22));
  SetRaw(reg::kClassesRoot, L"CLSID\\{A}", L"n", reg::kRegDword, std::string("TOO\0", 4));
  SetRaw(reg::kClassesRoot, L"CLSID\\{B}", L"", reg::kRegSz, std::string("Shockwave Flash Object\0", 23));
  SetRaw(reg::kClassesRoot, L"CLSID\\{C}", L"", reg::kRegSz, std::string("My TOOLBAR\0", 11));
  SetRaw(reg::kClassesRoot, L"CLSID\\{C}", L"Other", reg::kRegSz, std::string("Second Toolbar name\0", 20));
  SetRaw(reg::kClassesRoot, L"CLSID\\{D}", L"", reg::kRegSz, std::string(300, 'x') + "Toolbar");
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{A}"), L"Yahoo! toolbar Helper");
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{B}"), L"");
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{C}"), L"Second Toolbar name");
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{D}"), L"");  // the marker lies beyond the 255-byte buffer
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{Missing}"), L"");
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST(ToolbarNameOfClass, AChineseMarkerIsFoundInGbkData) {
  const std::unique_ptr<TextCodec> gbk = testing::MakeGbkCodec();
  SimPlatform machine;
  const Platform platform{machine.registry,  *gbk,          machine.desktop,   machine.files,
                          machine.processes, machine.shell, machine.url_cache, machine.registry,
                          machine.files,     machine.clock, kSimProgramVersion};
  const std::string text = gbk->ToAnsi(L"百度工具栏组件") + '\0';
  HKey key = 0;
  ASSERT_EQ(machine.registry.CreateKey(reg::kClassesRoot, "CLSID\\{B}", &key), reg::kSuccess);
  machine.registry.SetValue(key, "", reg::kRegSz, reinterpret_cast<const std::uint8_t*>(text.data()),
                            static_cast<std::uint32_t>(text.size()));
  machine.registry.CloseKey(key);
  EXPECT_EQ(ToolbarNameOfClass(platform, L"{B}"), L"百度工具栏组件");
}

TEST_F(AddonTest, CompletionWindowReportsDisabledOrNotAndCounts) {
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{B}", L"Baidu Toolbar");
  AddAddon("{C}", L"Google Toolbar");         // same name: passed over
  AddAddon("{D}", L"Google Toolbar Helper");  // helper: passed over
  CreateKey(reg::kCurrentUser, std::wstring(kSettings) + L"\\{A}");
  Report report;
  report.lines.push_back(L"成功    关闭弹出窗口阻止程序");  // a line before: not counted here
  ReportDisabledToolbars(platform, report);
  EXPECT_EQ(report.lines, (Lines{L"成功    关闭弹出窗口阻止程序", Disabled(L"Google Toolbar"), kSep161,
                                 NotDisabled(L"Baidu Toolbar"), kSep161}));
  EXPECT_EQ(report.successes, 1);
  EXPECT_EQ(report.failures, 1);
}

TEST_F(AddonTest, AnAddonWhoseSettingsKeyCannotBeCreatedIsReportedAsAFailure) {
  AddAddon("{A}", L"Locked Toolbar");
  registry.InjectFault({RegOp::kCreateKey, "HKEY_CURRENT_USER\\" + codec.ToAnsi(kSettings) + "*", reg::kAccessDenied});
  DisableToolbarAddOns(platform);
  Report report;
  ReportDisabledToolbars(platform, report);
  EXPECT_EQ(report.lines, (Lines{NotDisabled(L"Locked Toolbar"), kSep161}));
  EXPECT_EQ(report.failures, 1);
  EXPECT_EQ(report.successes, 0);
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(ToolbarNames, MarkersAndHelpers) {
  EXPECT_TRUE(IsToolbarName(L"xToolBarx"));
  EXPECT_TRUE(IsToolbarName(L"百度工具栏 2.0"));
  EXPECT_FALSE(IsToolbarName(L"Tool bar"));
  EXPECT_FALSE(IsToolbarName(L"ＴＯＯＬＢＡＲ"));  // full-width letters are not Latin
  EXPECT_TRUE(IsHelperOrNotifierName(L"x helper"));
  EXPECT_TRUE(IsHelperOrNotifierName(L"NotiFier"));
  EXPECT_FALSE(IsHelperOrNotifierName(L"help"));
}

}  // namespace
}  // namespace kelpo
