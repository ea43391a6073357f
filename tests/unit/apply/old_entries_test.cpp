// What the interactive apply clears before the registry script and the list are written, and
// in which order; a step that fails or throws is noted and the next still runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "apply/apply_steps.h"
#include "registry/key_paths.h"
#include "unit/apply/apply_fixture.h"
#include "zonemap/site_writer.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAre;

class OldEntriesTest : public ::testing::Test {
 protected:
  void Seed(const std::wstring& key, std::wstring_view setting) { machine.writer.Write(reg::kCurrentUser, key, setting); }
  bool Exists(std::wstring_view key) { return machine.reader.KeyExists(reg::kCurrentUser, key); }
  ApplyOutcome Delete() {
    ApplyOutcome outcome;
    StepRecorder steps(outcome);
    DeleteOldEntries(machine.platform, steps);
    return outcome;
  }
  static std::wstring Domain(const wchar_t* name) { return keys::Below(keys::kDomains, name); }
  static std::wstring Range(const wchar_t* name) { return keys::Below(keys::kRanges, name); }

  ApplyMachine machine;
};

TEST_F(OldEntriesTest, OnlyTrustedSitesEntriesGoAndTheAddOnSettingsAndBaiduListGoWhole) {
  Seed(Domain(L"old.example.com\\www"), L"http");
  Seed(Range(L"Range7"), L"http");
  Seed(Range(L"Range7"), L"10.0.0.7");
  Seed(keys::Below(keys::kEscDomains, L"old.example.com"), L"http");
  Seed(keys::Below(keys::kEscRanges, L"Range1"), L"http");
  Seed(std::wstring(keys::kBaiduWhiteList), L"*old.example.com*");
  Seed(keys::Below(keys::kAddOnSettings, L"{ADDON}"), L"Flags1");
  Seed(keys::Below(keys::kAddOnStats, L"{ADDON}"), L"Flags1");
  const ApplyOutcome outcome = Delete();
  SiteWriter(machine.writer, machine.reader).WriteSite(L"new.example.com");

  EXPECT_FALSE(Exists(Domain(L"old.example.com")));
  EXPECT_FALSE(Exists(Range(L"Range7")));
  EXPECT_TRUE(Exists(keys::kRanges));  // the zone map's own keys stay
  EXPECT_FALSE(Exists(keys::kAddOnSettings));
  const std::vector<ListedValue> baidu = machine.reader.ListValues(reg::kCurrentUser, keys::kBaiduWhiteList);
  ASSERT_EQ(baidu.size(), 1u);
  EXPECT_EQ(baidu[0].name, "*new.example.com*");
  EXPECT_TRUE(Exists(Domain(L"new.example.com")));
  EXPECT_TRUE(Exists(keys::Below(keys::kEscDomains, L"old.example.com")));
  EXPECT_TRUE(Exists(keys::Below(keys::kEscRanges, L"Range1")));
  EXPECT_TRUE(Exists(keys::Below(keys::kAddOnStats, L"{ADDON}")));
  EXPECT_EQ(outcome.CountOf(StepResult::kDone), 4);
}

TEST_F(OldEntriesTest, ClearsInOrderRangesBaiduDomainsAddOnSettings) {
  Seed(Range(L"Range1"), L"http");
  Seed(Range(L"Range1"), L"10.0.0.1");
  Seed(std::wstring(keys::kBaiduWhiteList), L"*a*");
  Seed(Domain(L"a"), L"*");
  Seed(keys::Below(keys::kAddOnSettings, L"{ADDON}"), L"Flags1");
  machine.registry.ClearJournal();
  const ApplyOutcome outcome = Delete();
  // Each key in the order its clearing began, whatever order its subkeys go in.
  std::vector<std::string> begun;
  for (const RegCall& call : machine.registry.journal()) {
    if (call.op != RegOp::kDeleteKey && call.op != RegOp::kDeleteValue) continue;
    std::string root = RegistryBench::ShortKey(call.path);
    root = root.substr(0, root.find("\\{ADDON}"));
    if (root.rfind("Ranges", 0) == 0) root = "Ranges";
    if (root.rfind("Domains", 0) == 0) root = "Domains";
    if (std::find(begun.begin(), begun.end(), root) == begun.end()) begun.push_back(root);
  }
  EXPECT_THAT(begun, ElementsAre("Ranges", "Baidu", "Domains",
                                 "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings"));
  for (const std::wstring& key : {Range(L"Range1"), std::wstring(keys::kBaiduWhiteList), Domain(L"a"),
                                 std::wstring(keys::kAddOnSettings)})
    EXPECT_FALSE(Exists(key));
  std::vector<ApplyStep> steps;
  for (const StepOutcome& step : outcome.steps) steps.push_back(step.step);
  EXPECT_THAT(steps, ElementsAre(ApplyStep::kClearTrustedRanges, ApplyStep::kDeleteBaiduWhitelist,
                                 ApplyStep::kClearTrustedDomains, ApplyStep::kDeleteAddOnSettings));
}

TEST_F(OldEntriesTest, NothingToClearIsNoFailure) {
  const ApplyOutcome outcome = Delete();
  EXPECT_EQ(outcome.CountOf(StepResult::kDone), 4);
}

TEST_F(OldEntriesTest, AThrowingStepIsNotedAndDoesNotStopTheNext) {
  Seed(Range(L"Range1"), L"http");
  Seed(Domain(L"a"), L"*");
  Seed(keys::Below(keys::kAddOnSettings, L"{ADDON}"), L"Flags1");
  machine.registry.InjectFault({RegOp::kDeleteValue, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                                     "Internet Settings\\ZoneMap\\Ranges*", 5, true});
  const ApplyOutcome outcome = Delete();
  EXPECT_TRUE(Exists(Range(L"Range1")));
  EXPECT_FALSE(Exists(Domain(L"a")));
  EXPECT_FALSE(Exists(keys::kAddOnSettings));
  EXPECT_EQ(machine.registry.open_handle_count(), 0u);
  ASSERT_NE(outcome.Find(ApplyStep::kClearTrustedRanges), nullptr);
  EXPECT_EQ(outcome.Find(ApplyStep::kClearTrustedRanges)->result, StepResult::kFailed);
  EXPECT_EQ(outcome.Find(ApplyStep::kClearTrustedRanges)->error, L"5>  " + DescribeRuntimeError(5));
  EXPECT_EQ(outcome.CountOf(StepResult::kDone), 3);
}

TEST_F(OldEntriesTest, AKeyThatCannotBeDeletedMakesItsStepFail) {
  Seed(keys::Below(keys::kAddOnSettings, L"{ADDON}"), L"Flags1");
  machine.registry.MarkReadOnly("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\{ADDON}");
  const ApplyOutcome outcome = Delete();
  EXPECT_EQ(outcome.Find(ApplyStep::kDeleteAddOnSettings)->result, StepResult::kFailed);
  EXPECT_TRUE(outcome.Find(ApplyStep::kDeleteAddOnSettings)->error.empty());
}

}  // namespace
}  // namespace kelpo::testing
