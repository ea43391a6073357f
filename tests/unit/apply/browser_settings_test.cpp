// The pop-up, tab and Trusted-sites zone settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "apply/browser_settings.h"
#include "unit/registry_bench.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BrowserSettingsTest : public RegistryBenchTest {
 protected:
  void ApplyAll(bool ie8) {
    SetPopupBlocker(writer);
    SetTabPopupBehaviour(writer);
    SetTrustedZoneFlags(writer);
    if (ie8) SetIe8ZoneActions(writer);
  }
};

TEST_F(BrowserSettingsTest, EveryVersionGetsTheThreeAlwaysRows) {
  ApplyAll(false);
  EXPECT_THAT(Writes(), ElementsAre("NewWindows PopupMgr=dword:0", "TabbedBrowsing PopupsUseNewWindow=dword:0",
                                    "Zone2 Flags=dword:67"));
}

TEST_F(BrowserSettingsTest, InternetExplorer8AlsoGetsBothUrlActionsInOrder) {
  ApplyAll(true);
  EXPECT_THAT(Writes(), ElementsAre("NewWindows PopupMgr=dword:0", "TabbedBrowsing PopupsUseNewWindow=dword:0",
                                    "Zone2 Flags=dword:67", "Zone2 120B=dword:3", "Zone2 1409=dword:0"));
}

TEST_F(BrowserSettingsTest, MissingKeysAreCreatedAndSettingsRewrittenEveryRun) {
  ApplyAll(false);
  ApplyAll(false);
  EXPECT_EQ(Writes().size(), 6u);
  EXPECT_TRUE(reader.KeyExists(reg::kCurrentUser, L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing"));
  EXPECT_THAT(desktop.messages(), IsEmpty());
}

}  // namespace
}  // namespace kelpo::testing
