// What an interactive apply keeps, judged by the real registry of the Wine prefix: the zone-map
// entries of other zones, what the registry script writes, and its own run to the end when the
// program is closed while it waits for the installer.
#include <windows.h>

#include <filesystem>

#include "e2e/kelpo_fixture.h"

namespace e2e {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kScriptAddon = L"{7C1D2E3F-4A5B-4C6D-8E9F-0A1B2C3D4E5F}";

std::optional<std::uint32_t> Dword(const std::wstring& key, const std::wstring& name) {
  return registry::ReadDword(HKEY_CURRENT_USER, key, name);
}

class ApplyKeeps : public KelpoRun {
 protected:
  // Presses 下一步 and answers the confirmation with Yes.
  static bool PressNextAndConfirm(ProgramRun& run, HWND main) {
    Click(FindControl(main, L"btnOk"));
    const auto question = WaitForMessageBox(run.pid(), L"Internet 选项");
    if (!question) return false;
    Answer(*question, IDYES);
    return true;
  }
  // Waits for the completion window, and for it alone.
  static HWND Completed(ProgramRun& run) {
    HWND info = WaitForWindow(run.pid(), L"设定完成", 60s);
    if (info != nullptr) Settle(info);
    return info;
  }
};

TEST_F(ApplyKeeps, SitesOfOtherZonesStayAsTheyWereAndTheTrustedSitesBecomeTheList) {
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\intranet", L"*", 1));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\trusted.example", L"http", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\blocked.example", L"http", 4));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\corp.example\\www", L"http", 1));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\bad.example\\www", L"https", 4));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\mixed.example", L"http", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\mixed.example", L"https", 4));
  for (const std::uint32_t zone : {1u, 2u, 4u}) {
    const std::wstring range = kRanges + L"\\Range" + std::to_wstring(zone);
    ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, range, L"http", zone));
    ASSERT_TRUE(registry::WriteString(HKEY_CURRENT_USER, range, L":Range", L"10.0.0." + std::to_wstring(zone)));
  }
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, L"lstWebSite");
  ASSERT_EQ(ListItems(list), (Names{L"http://www.example.com", L"http://mixed.example", L"http://trusted.example",
                                    L"http://10.0.0.2"}))
      << "only the Trusted sites are listed";
  ClickListItem(list, 2);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(FindControl(main, L"btnDel")); }, 3s));
  Click(FindControl(main, L"btnDel"));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 3; }, 3s));
  Type(FindControl(main, L"txtWebSite"), L"http://10.0.0.9");
  ASSERT_TRUE(WaitUntil([&] { return Caption(FindControl(main, L"txtWebSite")) == L"http://10.0.0.9"; }, 3s));
  Click(FindControl(main, L"btnAdd"));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 4; }, 3s));
  ASSERT_TRUE(PressNextAndConfirm(*run, main));
  HWND info = Completed(*run);
  ASSERT_NE(info, nullptr) << "the completion window did not open";

  // Other zones: as before, the Restricted https of a site whose http is trusted included.
  EXPECT_EQ(Dword(kDomains + L"\\intranet", L"*"), 1u);
  EXPECT_EQ(Dword(kDomains + L"\\blocked.example", L"http"), 4u);
  EXPECT_EQ(Dword(kDomains + L"\\corp.example\\www", L"http"), 1u);
  EXPECT_EQ(Dword(kDomains + L"\\bad.example\\www", L"https"), 4u);
  EXPECT_EQ(Dword(kDomains + L"\\mixed.example", L"https"), 4u);
  EXPECT_EQ(Dword(kRanges + L"\\Range1", L"http"), 1u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kRanges + L"\\Range1", L":Range"), L"10.0.0.1");
  EXPECT_EQ(Dword(kRanges + L"\\Range4", L"http"), 4u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kRanges + L"\\Range4", L":Range"), L"10.0.0.4");
  // Trusted sites: exactly the list; the new address under the first free range key.
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kDomains),
            (Names{L"bad.example", L"blocked.example", L"corp.example", L"example.com", L"intranet", L"mixed.example"}));
  EXPECT_EQ(Dword(kDomains + L"\\example.com\\www", L"http"), 2u);
  EXPECT_EQ(Dword(kDomains + L"\\mixed.example", L"http"), 2u);
  EXPECT_EQ(registry::Subkeys(HKEY_CURRENT_USER, kRanges), (Names{L"Range1", L"Range2", L"Range3", L"Range4"}));
  EXPECT_EQ(Dword(kRanges + L"\\Range2", L"http"), 2u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kRanges + L"\\Range2", L":Range"), L"10.0.0.2");
  EXPECT_EQ(Dword(kRanges + L"\\Range3", L"http"), 2u);
  EXPECT_EQ(registry::ReadString(HKEY_CURRENT_USER, kRanges + L"\\Range3", L":Range"), L"10.0.0.9");
  Click(FindControl(info, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

TEST_F(ApplyKeeps, WhatTheRegistryScriptAddsStays) {
  auto run = StartWith(kAllCompanions);
  run->WriteFile(kTrustedSites,
                 "REGEDIT4\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\"
                 "Domains\\script.example]\r\n\"https\"=dword:00000002\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\"
                 "{7C1D2E3F-4A5B-4C6D-8E9F-0A1B2C3D4E5F}]\r\n\"Flags\"=dword:00000001\r\n\r\n");
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressNextAndConfirm(*run, main));
  HWND info = Completed(*run);
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  EXPECT_EQ(Dword(kDomains + L"\\script.example", L"https"), 2u) << "the script's site stays";
  EXPECT_EQ(Dword(kAddonSettings + L"\\" + kScriptAddon, L"Flags"), 1u) << "the script's add-on setting stays";
  EXPECT_EQ(Dword(kDomains + L"\\example.com\\www", L"http"), 2u);
  Click(FindControl(info, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

class ClosedWhileTheInstallerRuns : public ApplyKeeps {
 protected:
  // Starts an apply that waits for the installer, does `close` meanwhile, and expects the
  // program to stay until the installer has ended, then to end without the completion window.
  void CloseMeanwhile(const std::function<void(HWND main)>& close) {
    SeedBrowser(L"8.0.6001.18702", L"9,0,124,0");  // older than 10: the installer runs
    ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
    auto run = StartWith(kAllCompanions);
    run->WriteFile(kInstallerHold, "");
    HWND main = OpenMain(*run);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PressNextAndConfirm(*run, main));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(run->folder() / kInstallerRecord); }, 30s))
        << "the installer did not start";
    close(main);
    Settle(main);
    EXPECT_FALSE(run->WaitForExit(1s).has_value()) << "the program ended before the apply was done";
    EXPECT_EQ(OpenWindowCaptions(run->pid()), Names{L"添加可信站点"});

    std::filesystem::remove(run->folder() / kInstallerHold);
    bool report_shown = false;
    WaitUntil([&] {
      const Names captions = OpenWindowCaptions(run->pid());
      report_shown |= std::find(captions.begin(), captions.end(), L"设定完成") != captions.end();
      return !run->Running();
    }, 30s);
    ExpectEndsWithin(*run, kExitPatience);
    EXPECT_FALSE(report_shown) << "the completion window opened after the program was closed";
    EXPECT_EQ(Dword(kDomains + L"\\example.com\\www", L"http"), 2u);
  }
};

TEST_F(ClosedWhileTheInstallerRuns, TheCloseButtonEndsTheProgramOnceTheApplyIsDone) {
  CloseMeanwhile([](HWND main) { Click(FindControl(main, L"btnClose")); });
}

TEST_F(ClosedWhileTheInstallerRuns, TheTitleBarEndsTheProgramOnceTheApplyIsDone) {
  CloseMeanwhile([](HWND main) { CloseFromTitleBar(main); });
}

}  // namespace
}  // namespace e2e
