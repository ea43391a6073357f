// Add-on inspection in its four forms: the check window's and the completion window's lines,
// and the disabling done by the trusted-site and start-up windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_auto_set.h"
#include "app/frm_check.h"
#include "app/frm_info.h"
#include "app/main_form.h"
#include "app_fixture.h"
#include "registry/module1.h"
#include "reports/addon_inspection.h"

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

struct AddonWorld : testing::AppWorld {
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
    const Lines lines = Open<FrmCheck>().List.items();
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
  Main main(context);
  main.FindStatsKeys(reg::kCurrentUser, kStats);
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
  Main main(context);
  main.FindStatsKeys(reg::kCurrentUser, kStats);
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
  Main main(context);
  main.FindStatsKeys(reg::kCurrentUser, kStats);
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

TEST_F(AddonTest, TheStartUpWindowDisablesExactlyAsTheTrustedSiteWindow) {
  auto writes = [](bool start_up) {
    AddonWorld world;
    world.AddAddon("{A}", L"Google Toolbar");
    world.AddAddon("{B}", L"Toolbar Notifier");
    world.AddAddon("{C}", L"Reader");
    world.registry.ClearJournal();
    if (start_up) {
      frmAutoSet window(world.context);
      window.FindStatsKeys(reg::kCurrentUser, kStats);
    } else {
      Main window(world.context);
      window.FindStatsKeys(reg::kCurrentUser, kStats);
    }
    std::vector<std::string> calls;
    for (const RegCall& call : world.registry.journal())
      if (call.op == RegOp::kSetValue || call.op == RegOp::kCreateKey)
        calls.push_back(std::string(RegOpName(call.op)) + " " + call.path + " " + call.value + " " + call.data);
    return calls;
  };
  const std::vector<std::string> from_main = writes(false);
  EXPECT_EQ(writes(true), from_main);
  const std::string settings = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";
  EXPECT_EQ(from_main, (std::vector<std::string>{
                           "CreateKey " + settings + "{A}  ", "SetValue " + settings + "{A} Flags " + std::string("\1\0\0\0", 4),
                           "CreateKey " + settings + "{A}  ", "SetValue " + settings + "{A} Version *",
                           "CreateKey " + settings + "{B}  ", "SetValue " + settings + "{B} Flags " + std::string("\1\0\0\0", 4),
                           "CreateKey " + settings + "{B}  ", "SetValue " + settings + "{B} Version *"}));
}

TEST_F(AddonTest, CompletionWindowReportsDisabledOrNotAndCounts) {
  AddAddon("{A}", L"Google Toolbar");
  AddAddon("{B}", L"Baidu Toolbar");
  AddAddon("{C}", L"Google Toolbar");         // same name: passed over
  AddAddon("{D}", L"Google Toolbar Helper");  // helper: passed over
  CreateKey(reg::kCurrentUser, std::wstring(kSettings) + L"\\{A}");
  frmInfo window(context);
  window.List.AddItem(L"成功    关闭弹出窗口阻止程序");
  window.FindStatsKeys(reg::kCurrentUser, kStats);
  EXPECT_EQ(window.List.items(), (Lines{L"成功    关闭弹出窗口阻止程序", Disabled(L"Google Toolbar"), kSep161,
                                        NotDisabled(L"Baidu Toolbar"), kSep161}));
  EXPECT_EQ(window.SuccessCount, 1);
  EXPECT_EQ(window.FailureCount, 1);
}

TEST_F(AddonTest, AnAddonWhoseSettingsKeyCannotBeCreatedIsReportedAsAFailure) {
  AddAddon("{A}", L"Locked Toolbar");
  registry.InjectFault({RegOp::kCreateKey, "HKEY_CURRENT_USER\\" + codec.ToAnsi(kSettings) + "*", reg::kAccessDenied});
  Main main(context);
  main.FindStatsKeys(reg::kCurrentUser, kStats);
  frmInfo info(context);
  info.FindStatsKeys(reg::kCurrentUser, kStats);
  EXPECT_EQ(info.List.items(), (Lines{NotDisabled(L"Locked Toolbar"), kSep161}));
  EXPECT_EQ(info.FailureCount, 1);
  EXPECT_EQ(info.SuccessCount, 0);
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
