// The interactive apply of the trusted-sites window: its stops, the order of everything it does
// on Internet Explorer 6 and 8, what it says it did, and its way through any single failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "apply/interactive_apply.h"
#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "registry/subkey_iterator.h"
#include "registry/value_list.h"
#include "unit/apply/apply_fixture.h"
#include "unit/apply/fault_sweep.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::string kSettings = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";

void SetZone(ApplyMachine& machine, const std::wstring& key, const std::string& scheme, std::uint32_t zone) {
  HKey handle = 0;
  ASSERT_EQ(machine.registry.CreateKey(reg::kCurrentUser, machine.codec.ToAnsi(key), &handle), reg::kSuccess);
  machine.registry.SetValue(handle, scheme, reg::kRegDword, reinterpret_cast<const std::uint8_t*>(&zone), 4);
  machine.registry.CloseKey(handle);
}

// A user's machine before the apply: an old zone map with a site partly in Restricted sites
// and a Restricted range, a Baidu entry and an add-on setting, an escape entry, a toolbar, two
// browsers and an explorer running, three cache entries.
void ArrangeUsedMachine(ApplyMachine& machine) {
  PolicyWriter& writer = machine.writer;
  writer.WriteZoneScheme(keys::Below(keys::kDomains, L"old.example.com"), L"http");
  SetZone(machine, keys::Below(keys::kDomains, L"mixed.example"), "http", 2);
  SetZone(machine, keys::Below(keys::kDomains, L"mixed.example"), "https", 4);
  writer.WriteZoneScheme(keys::Below(keys::kRanges, L"Range1"), L"http");
  writer.WriteRangeAddress(keys::Below(keys::kRanges, L"Range1"), L"10.9.9.9");
  SetZone(machine, keys::Below(keys::kRanges, L"Range2"), "http", 4);
  writer.WriteRangeAddress(keys::Below(keys::kRanges, L"Range2"), L"10.4.4.4");
  writer.WriteBaiduPattern(L"*old.example.com*");
  writer.WriteZoneScheme(keys::Below(keys::kEscDomains, L"kept.example.com"), L"http");
  writer.Write(reg::kCurrentUser, keys::Below(keys::kAddOnSettings, L"{OLD}"), L"Flags1");
  machine.AddToolbarAddOn(L"{TB}");
  machine.processes.AddProcess("iexplore.exe");   // 1000
  machine.processes.AddProcess("explorer.exe");   // 1001
  machine.processes.AddProcess("IEXPLORE.EXE");   // 1002
  machine.url_cache.AddEntry("http://a.example/", cache::kNormalEntry);
  machine.url_cache.AddEntry("Cookie:user@a.example/", cache::kCookieEntry);
  machine.url_cache.AddEntry("http://b.example/", cache::kNormalEntry);
  machine.ForgetSetUp();
}

const std::vector<std::wstring> kSites = {L"http://www.example.com", L"http://192.168.1.20", L"intranet"};

// What comes before the registry script's import, on every version.
const std::vector<std::string> kClosingTheBrowser = {"Next locked", "snapshot", "terminate 1000",
                                                     "terminate 1002"};
const std::vector<std::string> kClearingTheCache = {"uncache http://a.example/", "uncache http://b.example/",
                                                    "uncache Cookie:user@a.example/"};
const std::vector<std::string> kPopUps = {"set NewWindows PopupMgr=dword:0",
                                         "set TabbedBrowsing PopupsUseNewWindow=dword:0"};
// Only the Trusted sites entries go, before the script can add its own.
const std::vector<std::string> kClearingTheOldEntries = {
    "unset Ranges\\Range1 http", "delete Ranges\\Range1", "delete Baidu", "unset Domains\\mixed.example http",
    "unset Domains\\old.example.com http", "delete Domains\\old.example.com", "delete " + kSettings + "\\{OLD}",
    "delete " + kSettings};
const std::vector<std::string> kImportAndZoneFlags = {
    "snapshot", "shell regedit.exe /s  \"C:\\Program Files\\Kelpo\\TrustedSites.reg\"", "snapshot", "wait 1003",
    "set Zone2 Flags=dword:67"};
const std::vector<std::string> kIe8Actions = {"set Zone2 120B=dword:3", "set Zone2 1409=dword:0"};
// From the add-ons to the Google white-list.
const std::vector<std::string> kRebuildingTheLists = {
    "set " + kSettings + "\\{TB} Flags=dword:1", "set " + kSettings + "\\{TB} Version=*",
    "set Baidu *example.com*=dword:0", "set Domains\\example.com\\www http=dword:2",
    "set Baidu *192.168.1.20*=dword:0", "set Ranges\\Range1 http=dword:2",
    "set Ranges\\Range1 :Range=192.168.1.20\\0",
    "set Baidu *intranet*=dword:0", "set Domains\\intranet *=dword:2",
    "set Google PopupBlockerWhitelist=|www.example.com|192.168.1.20|intranet|\\0"};
const std::vector<std::string> kFlashInstaller = {
    "start \"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe\"", "wait 1004"};
const std::vector<std::string> kEnd = {"Next unlocked", "completion window opened", "window unloaded"};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(ApplySequenceOrder, InternetExplorer6ClearsTheCacheAndRunsAnOldFlashPlayersInstaller) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeApplyWindow window(machine);
  window.sites = kSites;
  window.versions = {L"6.0.2900.5512", L"9.0.124.0"};
  const ApplyOutcome outcome = window.Apply();
  EXPECT_THAT(machine.Events(),
              ElementsAreArray(Joined({kClosingTheBrowser, kClearingTheCache, kPopUps, kClearingTheOldEntries,
                                       kImportAndZoneFlags, kRebuildingTheLists, kFlashInstaller, kEnd})));
  EXPECT_EQ(machine.desktop.messages().size(), 1u);  // the question only
  EXPECT_TRUE(outcome.applied());
  EXPECT_EQ(outcome.CountOf(StepResult::kFailed), 0);
  EXPECT_EQ(outcome.CountOf(StepResult::kNotNeeded), 1);  // the zone actions of Internet Explorer 8
}

TEST(ApplySequenceOrder, InternetExplorer8WritesTheZoneActionsAndSkipsACurrentFlashPlayer) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeApplyWindow window(machine);
  window.sites = kSites;
  window.versions = {L"8.0.6001.18702", L"10.0.22.87"};
  window.Apply();
  EXPECT_THAT(machine.Events(), ElementsAreArray(Joined({kClosingTheBrowser, kPopUps, kClearingTheOldEntries,
                                                         kImportAndZoneFlags, kIe8Actions, kRebuildingTheLists, kEnd})));
  EXPECT_THAT(machine.url_cache.urls(), ::testing::SizeIs(3));
}

std::wstring Read(ApplyMachine& machine, const std::wstring& key, std::wstring_view name) {
  return machine.reader.ReadText(reg::kCurrentUser, key, name);
}

TEST(ApplySequenceOrder, UnlistedTrustedSitesGoWhileOtherZonesAndTheEscapeKeysStay) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeApplyWindow window(machine);
  window.sites = {L"intranet"};
  window.Apply();
  const auto domain = [](const wchar_t* name) { return keys::Below(keys::kDomains, name); };
  const auto range = [](const wchar_t* name) { return keys::Below(keys::kRanges, name); };
  EXPECT_FALSE(machine.reader.KeyExists(reg::kCurrentUser, domain(L"old.example.com")));
  EXPECT_TRUE(machine.reader.KeyExists(reg::kCurrentUser, keys::Below(keys::kEscDomains, L"kept.example.com")));
  EXPECT_FALSE(machine.reader.KeyExists(reg::kCurrentUser, range(L"Range1")));
  EXPECT_EQ(Read(machine, domain(L"mixed.example"), L"https"), L"4");
  EXPECT_EQ(Read(machine, domain(L"mixed.example"), L"http"), L"");
  EXPECT_EQ(Read(machine, range(L"Range2"), L"http"), L"4");
  EXPECT_EQ(Read(machine, range(L"Range2"), L":Range"), L"10.4.4.4");
  EXPECT_TRUE(window.Completed());
}

TEST(ApplySequenceScript, WhatTheRegistryScriptWritesStaysAndItsRangeKeyIsNotWrittenOver) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  const auto domain = [](const wchar_t* name) { return keys::Below(keys::kDomains, name); };
  const auto range = [](const wchar_t* name) { return keys::Below(keys::kRanges, name); };
  const std::wstring script_addon = keys::Below(keys::kAddOnSettings, L"{SCRIPT}");
  const std::wstring baidu(keys::kBaiduWhiteList);
  // The import writes a Trusted site, an address range, a Baidu entry and an add-on setting.
  machine.shell.set_on_run([&](const std::wstring&) {
    machine.processes.AddChild("regedit.exe");
    machine.writer.WriteZoneScheme(domain(L"script.example"), L"https");
    machine.writer.WriteZoneScheme(range(L"Range1"), L"http");
    machine.writer.WriteRangeAddress(range(L"Range1"), L"10.1.1.1");
    machine.writer.WriteBaiduPattern(L"*script.example*");
    machine.writer.Write(reg::kCurrentUser, script_addon, L"Flags1");
  });
  FakeApplyWindow window(machine);
  window.sites = {L"http://10.2.2.2"};
  window.Apply();
  EXPECT_EQ(Read(machine, domain(L"script.example"), L"https"), L"2");
  EXPECT_EQ(Read(machine, range(L"Range1"), L":Range"), L"10.1.1.1");
  EXPECT_EQ(Read(machine, range(L"Range2"), L":Range"), L"10.4.4.4");  // Restricted sites, kept
  EXPECT_EQ(Read(machine, range(L"Range3"), L":Range"), L"10.2.2.2");
  EXPECT_EQ(Read(machine, range(L"Range3"), L"http"), L"2");
  EXPECT_EQ(Read(machine, baidu, L"*script.example*"), L"0");
  EXPECT_EQ(Read(machine, baidu, L"*10.2.2.2*"), L"0");
  EXPECT_EQ(Read(machine, script_addon, L"Flags"), L"1");
  EXPECT_EQ(Read(machine, keys::Below(keys::kAddOnSettings, L"{TB}"), L"Flags"), L"1");
  EXPECT_TRUE(window.Completed());
}

// --- What the apply says it did. ---

std::vector<std::pair<ApplyStep, StepResult>> StepsOf(const ApplyOutcome& outcome) {
  std::vector<std::pair<ApplyStep, StepResult>> steps;
  for (const StepOutcome& step : outcome.steps) steps.emplace_back(step.step, step.result);
  return steps;
}

TEST(ApplyOutcomeSteps, EachStepInTheOrderTakenWithWhatItDid) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeApplyWindow window(machine);
  window.sites = {L"intranet", L"http://10.2.2.2"};
  window.versions = {L"8.0.6001.18702", L"10.0.22.87"};
  const ApplyOutcome outcome = window.Apply();
  using S = ApplyStep;
  constexpr StepResult kDone = StepResult::kDone;
  constexpr StepResult kNotNeeded = StepResult::kNotNeeded;
  EXPECT_THAT(StepsOf(outcome),
              ElementsAreArray(std::vector<std::pair<ApplyStep, StepResult>>{
                  {S::kLockNext, kDone}, {S::kCloseBrowser, kDone}, {S::kClearUrlCache, kNotNeeded},
                  {S::kDisablePopupBlocker, kDone}, {S::kSetTabPopups, kDone}, {S::kClearTrustedRanges, kDone},
                  {S::kDeleteBaiduWhitelist, kDone}, {S::kClearTrustedDomains, kDone},
                  {S::kDeleteAddOnSettings, kDone}, {S::kImportRegistryScript, kDone},
                  {S::kSetTrustedZoneFlags, kDone}, {S::kSetIe8ZoneActions, kDone},
                  {S::kDisableToolbarAddOns, kDone}, {S::kWriteSite, kDone}, {S::kWriteSite, kDone},
                  {S::kWriteGoogleWhitelist, kDone}, {S::kUpdateFlashPlayer, kNotNeeded}, {S::kUnlockNext, kDone},
                  {S::kOpenCompletionWindow, kDone}, {S::kUnloadWindow, kDone}}));
  EXPECT_EQ(outcome.steps[13].subject, L"intranet");
  EXPECT_EQ(outcome.steps[14].subject, L"http://10.2.2.2");
  for (const StepOutcome& step : outcome.steps) EXPECT_EQ(step.error, L"");
  EXPECT_EQ(StepName(S::kImportRegistryScript), L"import the registry script");
  EXPECT_EQ(ResultName(StepResult::kNotNeeded), L"not needed");
}

TEST(ApplyOutcomeSteps, AProgramThatDoesNotStartAndAMoveThatThrowsAreFailures) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  machine.shell.InjectFault({.op = ShellOp::kRun});
  machine.processes.InjectFault({.op = ProcOp::kStart});
  machine.throw_at = "Next locked";
  FakeApplyWindow window(machine);
  window.sites = {L"intranet"};
  const ApplyOutcome outcome = window.Apply();
  EXPECT_EQ(outcome.Find(ApplyStep::kImportRegistryScript)->result, StepResult::kFailed);
  EXPECT_EQ(outcome.Find(ApplyStep::kUpdateFlashPlayer)->result, StepResult::kFailed);
  const StepOutcome* lock = outcome.Find(ApplyStep::kLockNext);
  EXPECT_EQ(lock->result, StepResult::kFailed);
  EXPECT_EQ(lock->error, L"5>  " + DescribeRuntimeError(5));
  EXPECT_EQ(outcome.CountOf(StepResult::kFailed), 3);
  EXPECT_TRUE(window.completion_opened && window.unloaded);  // what failed before never stops the end
}

// --- The stops before anything is changed. ---

struct Stop {
  const char* what;
  std::vector<std::wstring> missing_files;  // removed from the program folder
  bool empty_list;
  int answer;                   // to the question, when it is asked
  std::vector<std::string> messages;
  ApplyStop stop;
};

std::string Shown(const ShownMessage& message, const TextCodec& codec) {
  return codec.ToAnsi(message.text) + " | " + codec.ToAnsi(message.title) + " | " + std::to_string(message.flags);
}

const std::string kQuestion = "确定要修改IE的属性吗？ | Internet 选项 | 68";

const Stop kStops[] = {
    {"registry script missing", {L"TrustedSites.reg"}, false, box::kAnswerYes,
     {"系统必要的文件（TrustedSites.reg）不存在，请与管理员联系。 | Kelpo | 64"}, ApplyStop::kCompanionFileMissing},
    {"installer missing", {L"install_flash_player_10_active_x.exe"}, false, box::kAnswerYes,
     {"系统必要的文件（install_flash_player_10_active_x.exe）不存在，请与管理员联系。 | Kelpo | 64"},
     ApplyStop::kCompanionFileMissing},
    {"both missing: only the first is reported", {L"TrustedSites.reg", L"install_flash_player_10_active_x.exe"},
     false, box::kAnswerYes, {"系统必要的文件（TrustedSites.reg）不存在，请与管理员联系。 | Kelpo | 64"},
     ApplyStop::kCompanionFileMissing},
    {"answered No", {}, false, box::kAnswerNo, {kQuestion}, ApplyStop::kDeclined},
    {"empty list, asked first", {}, true, box::kAnswerYes,
     {kQuestion, "请先网站添加到可信站点。 | 可信站点 | 64"}, ApplyStop::kEmptySiteList},
};

TEST(ApplySequenceStops, EachStopShowsItsMessagesAndChangesNothing) {
  for (const Stop& stop : kStops) {
    SCOPED_TRACE(stop.what);
    ApplyMachine machine;
    ArrangeUsedMachine(machine);
    for (const std::wstring& file : stop.missing_files) machine.files.Remove(kApplyFolder + L"\\" + file);
    machine.desktop.QueueAnswer(stop.answer);
    FakeApplyWindow window(machine);
    if (!stop.empty_list) window.sites = kSites;
    const ApplyOutcome outcome = window.Apply();
    std::vector<std::string> messages;
    for (const ShownMessage& message : machine.desktop.messages()) messages.push_back(Shown(message, machine.codec));
    EXPECT_THAT(messages, ElementsAreArray(stop.messages));
    EXPECT_THAT(machine.Events(), IsEmpty());
    EXPECT_THAT(machine.registry.journal(), IsEmpty());
    EXPECT_FALSE(window.next_locked || window.completion_opened || window.unloaded);
    EXPECT_EQ(outcome.stopped, stop.stop);
    EXPECT_THAT(outcome.steps, IsEmpty());
  }
}

TEST(ApplySequenceStops, AnyAnswerButNoGoesOn) {
  ApplyMachine machine;
  machine.desktop.QueueAnswer(box::kAnswerOk);
  FakeApplyWindow window(machine);
  window.sites = {L"intranet"};
  window.Apply();
  EXPECT_TRUE(window.Completed());
}

// --- Any one call failing, or throwing, anywhere. ---

void CheckSweep(const std::wstring& ie_version, const std::wstring& flash_version) {
  SweepEveryCall(ArrangeUsedMachine, [&](ApplyMachine& machine) {
    FakeApplyWindow window(machine);
    window.sites = kSites;
    window.versions = {ie_version, flash_version};
    window.Apply();
    EXPECT_TRUE(window.Completed());
  });
}

TEST(ApplySequenceFaults, InternetExplorer6ReachesTheEndWhateverSingleCallFails) {
  CheckSweep(L"6.0.2900.5512", L"9.0.124.0");
}

TEST(ApplySequenceFaults, InternetExplorer8ReachesTheEndWhateverSingleCallFails) {
  CheckSweep(L"8.0.6001.18702", L"10.0.22.87");
}

// The keys the apply holds open may vanish under it: another program removes the zone map's
// Domains and the Baidu white-list key between two sites. Every site written after that is
// there, as opening each key from the root would have written it.
TEST(ApplySequenceFaults, KeysThatVanishBetweenTwoSitesAreCreatedAgainForTheNext) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeApplyWindow window(machine);
  window.sites = {L"http://www.a.example", L"b.example", L"http://www.c.example", L"10.0.0.1", L"d.example"};
  window.versions = {L"8.0.6001.18702", L"10.0.22.87"};
  const std::string user = "HKEY_CURRENT_USER\\";
  const std::string domains = machine.codec.ToAnsi(keys::kDomains);
  bool removed = false;
  machine.registry.set_after_call([&](const RegCall& call) {
    if (removed || call.op != RegOp::kSetValue || call.path != user + domains + "\\b.example") return;
    removed = true;
    machine.registry.RemoveTree(user + domains);
    machine.registry.RemoveTree(user + machine.codec.ToAnsi(keys::kBaiduWhiteList));
  });
  window.Apply();
  machine.registry.set_after_call({});
  EXPECT_TRUE(removed);
  EXPECT_TRUE(window.Completed());
  std::vector<std::string> sites;
  for (SubkeyIterator key(machine.registry, reg::kCurrentUser, domains); key.Valid(); ++key) sites.push_back(key.name());
  EXPECT_THAT(sites, ElementsAre("c.example", "d.example"));
  EXPECT_TRUE(machine.reader.KeyExists(reg::kCurrentUser, keys::Below(keys::kDomains, L"c.example\\www")));
  std::vector<std::string> patterns;
  RegistryKey white_list;
  ASSERT_EQ(OpenRegistryKey(machine.registry, reg::kCurrentUser, machine.codec.ToAnsi(keys::kBaiduWhiteList), &white_list),
            reg::kSuccess);
  for (const ListedValue& value : ListValues(machine.registry, white_list.get())) patterns.push_back(value.name);
  EXPECT_THAT(patterns, ElementsAre("*c.example*", "*10.0.0.1*", "*d.example*"));
  white_list.Close();
  EXPECT_EQ(machine.registry.open_handle_count(), 0u);
  EXPECT_EQ(machine.desktop.messages().size(), 1u);  // the question only
}

// --- Scale. ---

// Calls the apply makes to every port for a list of `count` sites of mixed forms.
std::uint64_t CallsForSites(int count) {
  ApplyMachine machine;
  machine.registry.set_journaling(false);
  FakeApplyWindow window(machine);
  for (int i = 0; i < count; ++i) {
    const std::wstring n = std::to_wstring(i);
    const std::wstring forms[] = {L"http://www.site" + n + L".example.com", L"https://mail" + n + L".example.com",
                                  L"10." + std::to_wstring(i / 250) + L"." + std::to_wstring(i % 250) + L".1",
                                  L"word" + n};
    window.sites.push_back(forms[i % 4]);
  }
  const std::uint64_t before = NextSimCallNumber();
  window.Apply();
  return NextSimCallNumber() - before;
}

TEST(ApplySequenceScale, EachOfTenThousandSitesCostsTheSameNumberOfCalls) {
  const std::uint64_t quarter = CallsForSites(2500);
  const std::uint64_t half = CallsForSites(5000);
  const std::uint64_t whole = CallsForSites(10000);
  // Linear: the second 5,000 sites cost exactly twice what the second 2,500 did.
  EXPECT_EQ(whole - half, 2 * (half - quarter));
}

}  // namespace
}  // namespace kelpo::testing
