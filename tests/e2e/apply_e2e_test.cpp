// Applying the configuration, interactively and in automatic mode, judged by the real registry
// of the Wine prefix afterwards.
#include <windows.h>

#include <filesystem>

#include "e2e/kelpo_fixture.h"

namespace e2e {
namespace {

const std::wstring kBaiduWhiteList = L"Software\\Baidu\\BaiduBar\\WhiteList";
const std::wstring kGoogleOptions = L"Software\\Google\\Google Toolbar\\4.0\\Options";
const std::wstring kHelperId = L"{9B8A7C6D-5E4F-4A3B-8C2D-1E0F9A8B7C6D}";
const std::wstring kStaleId = L"{00000000-1111-2222-3333-444444444444}";

using Names = std::vector<std::wstring>;

std::optional<std::uint32_t> Dword(const std::wstring& key, const std::wstring& name) {
  return registry::ReadDword(HKEY_CURRENT_USER, key, name);
}

// A browser with a toolbar add-on, a helper add-on, leftovers of an earlier configuration and
// a zone map holding one site the user will remove and one Local intranet site.
void SeedConfiguredBrowser() {
  for (const auto& [id, name] : {std::pair{kToolbarId, L"Zandrel Toolbar"}, std::pair{kHelperId, L"Zandrel Helper Object"}}) {
    ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kAddonStats + L"\\" + id, L"Count", 1));
    ASSERT_TRUE(registry::WriteString(HKEY_CLASSES_ROOT, L"CLSID\\" + id, L"", name));
  }
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kAddonSettings + L"\\" + kStaleId, L"Flags", 1));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kBaiduWhiteList, L"*stale.example*", 0));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kGoogleOptions, L"OtherOption", 7));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\intranet", L"*", 1));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\old.example\\www", L"http", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kRanges + L"\\Range7", L"http", 2));
  ASSERT_TRUE(registry::WriteString(HKEY_CURRENT_USER, kRanges + L"\\Range7", L":Range", L"192.168.1.20"));
}

bool InstallerRan(const ProgramRun& run) { return std::filesystem::exists(run.folder() / kInstallerRecord); }

class Apply : public KelpoRun {
 protected:
  void SetUp() override {
    KelpoRun::SetUp();
    SeedConfiguredBrowser();
  }

  // Presses 下一步 of the trusted-site window and gives the confirmation it asks for.
  std::optional<MessageBoxView> PressNext(ProgramRun& run, HWND main) {
    Click(FindControl(main, L"btnOk"));
    auto question = WaitForMessageBox(run.pid(), L"Internet 选项");
    if (!question) return std::nullopt;
    EXPECT_EQ(question->text, L"确定要修改IE的属性吗？");
    EXPECT_TRUE(question->has_yes && question->has_no && question->has_icon);
    return question;
  }

  static void ExpectNothingApplied() {
    EXPECT_FALSE(Dword(kPopupKey, L"PopupMgr").has_value());
    EXPECT_FALSE(Dword(kZone2, L"Flags").has_value());
    EXPECT_TRUE(registry::KeyExists(HKEY_CURRENT_USER, kDomains + L"\\old.example\\www"));
    EXPECT_TRUE(registry::KeyExists(HKEY_CURRENT_USER, kAddonSettings + L"\\" + kStaleId));
  }
};

TEST_F(Apply, InteractivePathWritesExactlyTheConfiguration) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, L"lstWebSite");
  ASSERT_EQ(ListItems(list), (Names{L"http://www.example.com", L"http://www.old.example", L"http://192.168.1.20"}))
      << "the Local intranet site is not listed";
  ClickListItem(list, 1);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(FindControl(main, L"btnDel")); }, 3s));
  Click(FindControl(main, L"btnDel"));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }, 3s));
  Type(FindControl(main, L"txtWebSite"), L"https://mail.zandrel.example:8443/login");
  ASSERT_TRUE(WaitUntil([&] { return Caption(FindControl(main, L"txtWebSite")).size() == 39; }, 3s));
  Click(FindControl(main, L"btnAdd"));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 3; }, 3s));

  const auto question = PressNext(*run, main);
  ASSERT_TRUE(question.has_value()) << "no confirmation was asked";
  Answer(*question, IDYES);
  HWND info = WaitForWindow(run->pid(), L"设定完成", 60s);
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  Settle(info);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"设定完成"}) << "the trusted-site window is unloaded";

  // Pop-ups, tabs, the zone flags and, on Internet Explorer 8, its two actions.
  EXPECT_EQ(Dword(kPopupKey, L"PopupMgr"), 0u);
  EXPECT_EQ(Dword(kTabsKey, L"PopupsUseNewWindow"), 0u);
  EXPECT_EQ(Dword(kZone2, L"Flags"), 0x43u);
  EXPECT_EQ(Dword(kZone2, L"120B"), 3u);
  EXPECT_EQ(Dword(kZone2, L"1409"), 0u);
  // What the example TrustedSites.reg imports.
  EXPECT_EQ(Dword(kZone2, L"CurrentLevel"), 0u);
  EXPECT_EQ(Dword(kZone2, L"1001"), 0u);
  EXPECT_EQ(Dword(kZone2, L"1201"), 0u);

  // The Trusted sites of the zone map are rebuilt from the list: the removed site is gone; the
  // Local intranet site stays as it was.
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kDomains), (Names{L"example.com", L"intranet", L"mail.zandrel.example"}));
  EXPECT_EQ(Dword(kDomains + L"\\example.com\\www", L"http"), 2u);
  EXPECT_EQ(Dword(kDomains + L"\\intranet", L"*"), 1u);
  EXPECT_EQ(Dword(kDomains + L"\\mail.zandrel.example", L"https"), 2u);
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kRanges), Names{L"Range1"});
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kRanges + L"\\Range1", L":Range"), L"192.168.1.20");
  EXPECT_EQ(Dword(kRanges + L"\\Range1", L"http"), 2u);

  // Both toolbar white-lists.
  Names baidu = registry::ValueNames(HKEY_CURRENT_USER, kBaiduWhiteList);
  std::sort(baidu.begin(), baidu.end());  // the order of values is the registry's affair
  EXPECT_EQ(baidu, (Names{L"*192.168.1.20*", L"*example.com*", L"*mail.zandrel.example*"}));
  EXPECT_EQ(Dword(kBaiduWhiteList, L"*example.com*"), 0u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kGoogleOptions, L"PopupBlockerWhitelist"),
            L"|www.example.com|192.168.1.20|mail.zandrel.example|");
  EXPECT_EQ(Dword(kGoogleOptions, L"OtherOption"), 7u);

  // Only the toolbar is disabled; older add-on settings are gone.
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kAddonSettings), Names{kToolbarId});
  EXPECT_EQ(Dword(kAddonSettings + L"\\" + kToolbarId, L"Flags"), 1u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kAddonSettings + L"\\" + kToolbarId, L"Version"), L"*");

  EXPECT_FALSE(InstallerRan(*run)) << "Flash Player 10 needs no update";
  const Names report = ListItems(FindControl(info, L"List"));
  EXPECT_NE(std::find(report.begin(), report.end(), L"成功    关闭弹出窗口阻止程序"), report.end());
  EXPECT_NE(std::find(report.begin(), report.end(), L"成功    已禁用Zandrel Toolbar"), report.end());
  Photograph(info, L"frmInfo");

  Click(FindControl(info, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

TEST_F(Apply, AnsweringNoChangesNothingAndKeepsTheWindowOpen) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  const auto question = PressNext(*run, main);
  ASSERT_TRUE(question.has_value());
  EXPECT_FALSE(IsEnabled(main)) << "the question is modal to the window";
  Answer(*question, IDNO);
  Settle(main);
  EXPECT_TRUE(WaitUntil([&] { return IsEnabled(FindControl(main, L"btnOk")); }, 3s));
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"添加可信站点"});
  ExpectNothingApplied();
}

TEST_F(Apply, EmptyListIsRefusedAfterTheQuestion) {
  ClearUserSettings();
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ListItems(FindControl(main, L"lstWebSite")).empty());
  const auto question = PressNext(*run, main);
  ASSERT_TRUE(question.has_value()) << "the question comes before the empty-list test";
  Answer(*question, IDYES);
  const auto refusal = WaitForMessageBox(run->pid(), L"可信站点");
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->text, L"请先网站添加到可信站点。");
  Answer(*refusal, IDOK);
  Settle(main);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"添加可信站点"});
  EXPECT_FALSE(Dword(kPopupKey, L"PopupMgr").has_value());
}

TEST_F(Apply, RegistryScriptRemovedMeanwhileStopsBeforeTheQuestion) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  std::filesystem::remove(run->folder() / kTrustedSites);
  Click(FindControl(main, L"btnOk"));
  const auto missing = WaitForMessageBox(run->pid(), L"Kelpo");
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->text, L"系统必要的文件（TrustedSites.reg）不存在，请与管理员联系。");
  Answer(*missing, IDOK);
  Settle(main);
  EXPECT_FALSE(WaitForMessageBox(run->pid(), L"Internet 选项", 500ms).has_value());
  ExpectNothingApplied();
}

TEST_F(Apply, WindowStaysUsableWhileTheInstallerRunsAndOnlyNextIsLocked) {
  SeedBrowser(L"8.0.6001.18702", L"9,0,124,0");  // older than 10: the installer runs
  auto run = StartWith(kAllCompanions);
  run->WriteFile(kInstallerHold, "");
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  const auto question = PressNext(*run, main);
  ASSERT_TRUE(question.has_value());
  Answer(*question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return InstallerRan(*run); }, 30s)) << "the installer did not start";

  EXPECT_FALSE(IsEnabled(FindControl(main, L"btnOk")));
  EXPECT_TRUE(IsEnabled(FindControl(main, L"btnClose")));
  HWND text_box = FindControl(main, L"txtWebSite");
  Type(text_box, L"typed meanwhile");
  EXPECT_TRUE(WaitUntil([&] { return Caption(text_box) == L"typed meanwhile"; }, 3s))
      << "window messages are handled during the wait";
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"添加可信站点"}) << "the report waits for the installer";

  std::filesystem::remove(run->folder() / kInstallerHold);
  EXPECT_NE(WaitForWindow(run->pid(), L"设定完成", 30s), nullptr);
}

TEST_F(Apply, TabAndEnterWorkWhileTheInstallerRuns) {
  SeedBrowser(L"8.0.6001.18702", L"9,0,124,0");  // older than 10: the installer runs
  auto run = StartWith(kAllCompanions);
  run->WriteFile(kInstallerHold, "");
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  const auto focused = [&] { return AutomationName(FocusedWindow(main)); };
  // 下一步 pressed from the keyboard.
  for (int presses = 0; presses < 3 && focused() != L"btnOk"; ++presses) {
    const std::wstring before = focused();
    PressKey(main, VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return focused() != before; }, 3s));
  }
  ASSERT_EQ(focused(), L"btnOk");
  PressKey(main, VK_RETURN);
  const auto question = WaitForMessageBox(run->pid(), L"Internet 选项");
  ASSERT_TRUE(question.has_value());
  Answer(*question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return InstallerRan(*run); }, 30s)) << "the installer did not start";
  ASSERT_FALSE(IsEnabled(FindControl(main, L"btnOk")));

  // While the program waits for it: the locked button handed the focus on, Tab moves it on,
  // Enter presses a button (添 加 with a listed site answers with a message box).
  EXPECT_TRUE(WaitUntil([&] { return !focused().empty() && focused() != L"btnOk"; }, 3s))
      << "the focus stayed on the locked button";
  Type(FindControl(main, L"txtWebSite"), L"http://www.example.com");
  for (int presses = 0; presses < 6 && focused() != L"btnAdd"; ++presses) {
    const std::wstring before = focused();
    PressKey(main, VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return focused() != before; }, 3s)) << "Tab does nothing while the program waits";
  }
  ASSERT_EQ(focused(), L"btnAdd");
  PressKey(main, VK_RETURN);
  const auto already = WaitForMessageBox(run->pid(), L"可信站点");
  ASSERT_TRUE(already.has_value()) << "Enter does nothing while the program waits";
  Answer(*already, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return focused() == L"btnAdd"; }, 3s));
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"添加可信站点"}) << "the report waits for the installer";

  std::filesystem::remove(run->folder() / kInstallerHold);
  EXPECT_NE(WaitForWindow(run->pid(), L"设定完成", 30s), nullptr);
}

TEST_F(Apply, AutomaticModeAddsTheSetUpSiteAndUpdatesFlashPlayer) {
  SeedBrowser(L"8.0.6001.18702", L"");  // no Flash Player
  ASSERT_TRUE(registry::WriteString(HKEY_CURRENT_USER, kGoogleOptions, L"PopupBlockerWhitelist", L"|www.example.com|"));
  std::unique_ptr<ProgramRun> run;
  HWND info = StartAutomatic(run, "Run=AUTO\r\nURL=http://www.zandrel.example/index.html\r\n");
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  Settle(info);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"设定完成"});

  // Added to what the zone map holds, and to its escape keys.
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kDomains),
            (Names{L"example.com", L"intranet", L"old.example", L"zandrel.example"}));
  EXPECT_EQ(Dword(kDomains + L"\\zandrel.example\\www", L"http"), 2u);
  EXPECT_EQ(Dword(kZoneMap + L"\\EscDomains\\zandrel.example\\www", L"http"), 2u);
  EXPECT_EQ(Dword(kDomains + L"\\intranet", L"*"), 1u) << "automatic mode keeps the other entries";
  EXPECT_EQ(Dword(kBaiduWhiteList, L"*zandrel.example*"), 0u);
  EXPECT_EQ(Dword(kBaiduWhiteList, L"*stale.example*"), 0u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kGoogleOptions, L"PopupBlockerWhitelist"),
            L"|www.example.com|zandrel.example|");

  EXPECT_EQ(Dword(kPopupKey, L"PopupMgr"), 0u);
  EXPECT_EQ(Dword(kZone2, L"Flags"), 0x43u);
  EXPECT_EQ(Dword(kZone2, L"1201"), 0u) << "the registry script was imported";
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kAddonSettings), Names{kToolbarId});
  EXPECT_TRUE(InstallerRan(*run)) << "no Flash Player: the installer runs";
  Click(FindControl(info, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

}  // namespace
}  // namespace e2e
