#pragma once
// What every end-to-end case starts from: a known browser, an emptied user registry, and
// kelpo.exe started in a program folder of its own. Include only after <windows.h>.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "e2e/registry_probe.h"
#include "e2e/ui_driver.h"

namespace e2e {

inline constexpr auto kExitPatience = 10s;
inline const std::wstring kIeKey = L"SOFTWARE\\Microsoft\\Internet Explorer";
inline const std::wstring kFlashKey = L"SOFTWARE\\Macromedia\\FlashPlayer";
inline const std::vector<std::wstring> kAllCompanions = {kTrustedSites, kInstaller, kSetupFile};
// The user's keys an apply reads or writes.
inline const std::wstring kCurrentVersion = L"Software\\Microsoft\\Windows\\CurrentVersion";
inline const std::wstring kZoneMap = kCurrentVersion + L"\\Internet Settings\\ZoneMap";
inline const std::wstring kDomains = kZoneMap + L"\\Domains";
inline const std::wstring kRanges = kZoneMap + L"\\Ranges";
inline const std::wstring kZone2 = kCurrentVersion + L"\\Internet Settings\\Zones\\2";
inline const std::wstring kAddonStats = kCurrentVersion + L"\\Ext\\Stats";
inline const std::wstring kAddonSettings = kCurrentVersion + L"\\Ext\\Settings";
inline const std::wstring kPopupKey = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline const std::wstring kTabsKey = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
// A toolbar add-on the registries of the suites arrange.
inline const std::wstring kToolbarId = L"{5A0E1B7C-3D2F-4E61-9A8B-0C1D2E3F4A5B}";

inline int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

inline int Px(int twips) { return MulDiv(twips, SystemDpi(), 1440); }

// The browser a run meets: Internet Explorer 8 with Flash Player 10 unless a case says otherwise.
inline void SeedBrowser(const std::wstring& ie_version, const std::wstring& flash_version) {
  registry::DeleteTree(HKEY_LOCAL_MACHINE, kFlashKey);
  ASSERT_TRUE(registry::WriteString(HKEY_LOCAL_MACHINE, kIeKey, L"Version", ie_version));
  if (!flash_version.empty()) {
    ASSERT_TRUE(registry::WriteString(HKEY_LOCAL_MACHINE, kFlashKey, L"CurrentVersion", flash_version));
  }
}

// The current user's zone map and the keys the program rebuilds, emptied before every case.
inline void ClearUserSettings() {
  const std::wstring settings = L"Software\\Microsoft\\Windows\\CurrentVersion";
  for (const std::wstring& key :
       {kDomains, kRanges, kZoneMap + L"\\EscDomains", kZoneMap + L"\\EscRanges",
        settings + L"\\Internet Settings\\Zones\\2", settings + L"\\Ext", std::wstring(L"Software\\Baidu"),
        std::wstring(L"Software\\Google"), std::wstring(L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows"),
        std::wstring(L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing")})
    ASSERT_TRUE(registry::DeleteTree(HKEY_CURRENT_USER, key));
}

class KelpoRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearUserSettings();
    SeedBrowser(L"8.0.6001.18702", L"10,0,22,87");
  }

  // A program folder of its own for the case, holding the given companion files, and the
  // set-up file given instead of the example one.
  std::unique_ptr<ProgramRun> PrepareWith(const std::vector<std::wstring>& fixtures, const std::string& setup_file = {}) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    auto run = std::make_unique<ProgramRun>(std::wstring(name.begin(), name.end()), fixtures);
    if (!setup_file.empty()) run->WriteFile(kSetupFile, setup_file);
    return run;
  }

  // Starts the program in such a folder.
  std::unique_ptr<ProgramRun> StartWith(const std::vector<std::wstring>& fixtures, const std::string& setup_file = {}) {
    auto run = PrepareWith(fixtures, setup_file);
    if (!run->Start()) ADD_FAILURE() << "kelpo.exe did not start";
    return run;
  }

  // Interactive start-up: the check window, and it alone.
  HWND OpenCheckWindow(ProgramRun& run) {
    HWND check = WaitForWindow(run.pid(), L"当前系统检测");
    EXPECT_NE(check, nullptr) << "the check window did not open";
    return check;
  }

  // From the check window, "下一步": the trusted-site window replaces it.
  HWND OpenMain(ProgramRun& run) {
    HWND check = OpenCheckWindow(run);
    if (check == nullptr) return nullptr;
    Click(FindControl(check, L"btnOk"));
    HWND main = WaitForWindow(run.pid(), L"添加可信站点");
    EXPECT_NE(main, nullptr) << "the trusted-site window did not open";
    if (main != nullptr) Settle(main);
    return main;
  }

  // Starts the program in automatic mode with that set-up file; the completion window.
  HWND StartAutomatic(std::unique_ptr<ProgramRun>& run, const std::string& setup_file) {
    run = StartWith(kAllCompanions, setup_file);
    return run->pid() != 0 ? WaitForWindow(run->pid(), L"设定完成", 60s) : nullptr;
  }

  static void ExpectEndsWithin(ProgramRun& run, std::chrono::milliseconds patience) {
    const auto code = run.WaitForExit(patience);
    ASSERT_TRUE(code.has_value()) << "the program still runs";
    EXPECT_EQ(*code, 0u);
  }
};

}  // namespace e2e
