// The pop-up, tab and Trusted-sites zone settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/browser_settings.h"
#include "unit/engine_fixture.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(IsIeVersion, TestsOneCharacterAfterLeadingBlanks) {
  EXPECT_TRUE(IsIeVersion(L"6.0.2900.5512", L'6'));
  EXPECT_TRUE(IsIeVersion(L"   6.0", L'6'));
  EXPECT_TRUE(IsIeVersion(L"8.0.6001.18702", L'8'));
  EXPECT_TRUE(IsIeVersion(L"80", L'8'));
  EXPECT_FALSE(IsIeVersion(L"7.0.5730.13", L'6'));
  EXPECT_FALSE(IsIeVersion(L"7.0.5730.13", L'8'));
  EXPECT_FALSE(IsIeVersion(L"", L'8'));
  EXPECT_FALSE(IsIeVersion(L"\t8", L'8'));
}

class BrowserSettingsTest : public EngineTest {
 protected:
  void ApplyAll(const std::wstring& ie_version) {
    SetPopupBlocker(module1);
    SetTabPopupBehaviour(module1);
    SetTrustedZoneFlags(module1);
    SetIe8ZoneActions(module1, ie_version);
  }
};

TEST_F(BrowserSettingsTest, InternetExplorer7GetsTheThreeAlwaysRows) {
  ApplyAll(L"7.0.5730.13");
  EXPECT_THAT(Writes(), ElementsAre("NewWindows PopupMgr=dword:0", "TabbedBrowsing PopupsUseNewWindow=dword:0",
                                    "Zone2 Flags=dword:67"));
}

TEST_F(BrowserSettingsTest, InternetExplorer8AlsoGetsBothUrlActionsInOrder) {
  ApplyAll(L" 8.0.6001.18702");
  EXPECT_THAT(Writes(), ElementsAre("NewWindows PopupMgr=dword:0", "TabbedBrowsing PopupsUseNewWindow=dword:0",
                                    "Zone2 Flags=dword:67", "Zone2 120B=dword:3", "Zone2 1409=dword:0"));
}

TEST_F(BrowserSettingsTest, MissingKeysAreCreatedAndSettingsRewrittenEveryRun) {
  ApplyAll(L"6.0");
  ApplyAll(L"6.0");
  EXPECT_EQ(Writes().size(), 6u);
  EXPECT_TRUE(module1.RegKeyExists(L"HKEY_CURRENT_USER", L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing"));
  EXPECT_THAT(desktop.messages(), IsEmpty());
}

}  // namespace
}  // namespace kelpo::testing
