// The Next button of the trusted-site window: its stops, the order of everything it does on
// Internet Explorer 6 and 8, and its way through any single failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/apply_sequence.h"
#include "engine/engine_keys.h"
#include "unit/apply_fixture.h"
#include "unit/fault_sweep.h"

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
  Module1& module1 = machine.module1;
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kDomainsPath) + L"old.example.com", L"http");
  SetZone(machine, std::wstring(keys::kDomainsPath) + L"mixed.example", "http", 2);
  SetZone(machine, std::wstring(keys::kDomainsPath) + L"mixed.example", "https", 4);
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kRangesPath) + L"Range1", L"http");
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kRangesPath) + L"Range1", L"10.9.9.9");
  SetZone(machine, std::wstring(keys::kRangesPath) + L"Range2", "http", 4);
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kRangesPath) + L"Range2", L"10.4.4.4");
  module1.SetRegEntry(keys::kCurrentUser, keys::kBaiduWhiteList, L"*old.example.com*");
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kEscDomainsPath) + L"kept.example.com", L"http");
  module1.SetRegEntry(keys::kCurrentUser, std::wstring(keys::kAddOnSettings) + L"\\{OLD}", L"Flags1");
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
const std::vector<std::string> kClosingTheBrowser = {"btnOk disabled", "snapshot", "terminate 1000",
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
    "FindStatsKeys Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats",
    "set " + kSettings + "\\{TB} Flags=dword:1", "set " + kSettings + "\\{TB} Version=*",
    "set Baidu *example.com*=dword:0", "set Domains\\example.com\\www http=dword:2",
    "set Baidu *192.168.1.20*=dword:0", "set Ranges\\Range1 http=dword:2",
    "set Ranges\\Range1 :Range=192.168.1.20\\0",
    "set Baidu *intranet*=dword:0", "set Domains\\intranet *=dword:2",
    "set Google PopupBlockerWhitelist=|www.example.com|192.168.1.20|intranet|\\0"};
const std::vector<std::string> kFlashInstaller = {
    "start \"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe\"", "wait 1004"};
const std::vector<std::string> kEnd = {"btnOk enabled", "frmInfo shown", "Main unloaded"};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(ApplySequenceOrder, InternetExplorer6ClearsTheCacheAndRunsAnOldFlashPlayersInstaller) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeTrustedSiteWindow window(machine);
  window.items = kSites;
  window.ie_version = L"6.0.2900.5512";
  window.flash_version = L"9.0.124.0";
  ApplyFromSiteList(machine.platform, window);
  EXPECT_THAT(machine.Events(),
              ElementsAreArray(Joined({kClosingTheBrowser, kClearingTheCache, kPopUps, kClearingTheOldEntries,
                                       kImportAndZoneFlags, kRebuildingTheLists, kFlashInstaller, kEnd})));
  EXPECT_EQ(machine.desktop.messages().size(), 1u);  // the question only
}

TEST(ApplySequenceOrder, InternetExplorer8WritesTheZoneActionsAndSkipsACurrentFlashPlayer) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeTrustedSiteWindow window(machine);
  window.items = kSites;
  window.ie_version = L"8.0.6001.18702";
  window.flash_version = L"10.0.22.87";
  ApplyFromSiteList(machine.platform, window);
  EXPECT_THAT(machine.Events(), ElementsAreArray(Joined({kClosingTheBrowser, kPopUps, kClearingTheOldEntries,
                                                         kImportAndZoneFlags, kIe8Actions, kRebuildingTheLists, kEnd})));
  EXPECT_THAT(machine.url_cache.urls(), ::testing::SizeIs(3));
}

std::wstring Read(ApplyMachine& machine, const std::wstring& key, const std::wstring& name) {
  return machine.module1.ReadRegValue(reg::kCurrentUser, key, name);
}

TEST(ApplySequenceOrder, UnlistedTrustedSitesGoWhileOtherZonesAndTheEscapeKeysStay) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  FakeTrustedSiteWindow window(machine);
  window.items = {L"intranet"};
  ApplyFromSiteList(machine.platform, window);
  const std::wstring domains = keys::kDomainsPath;
  const std::wstring ranges = keys::kRangesPath;
  EXPECT_FALSE(machine.module1.RegKeyExists(keys::kCurrentUser, domains + L"old.example.com"));
  EXPECT_TRUE(machine.module1.RegKeyExists(keys::kCurrentUser, std::wstring(keys::kEscDomainsPath) + L"kept.example.com"));
  EXPECT_FALSE(machine.module1.RegKeyExists(keys::kCurrentUser, ranges + L"Range1"));
  EXPECT_EQ(Read(machine, domains + L"mixed.example", L"https"), L"4");
  EXPECT_EQ(Read(machine, domains + L"mixed.example", L"http"), L"");
  EXPECT_EQ(Read(machine, ranges + L"Range2", L"http"), L"4");
  EXPECT_EQ(Read(machine, ranges + L"Range2", L":Range"), L"10.4.4.4");
  EXPECT_TRUE(window.Completed());
}

TEST(ApplySequenceScript, WhatTheRegistryScriptWritesStaysAndItsRangeKeyIsNotWrittenOver) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  const std::wstring domains = keys::kDomainsPath;
  const std::wstring ranges = keys::kRangesPath;
  const std::wstring script_addon = std::wstring(keys::kAddOnSettings) + L"\\{SCRIPT}";
  // The import writes a Trusted site, an address range, a Baidu entry and an add-on setting.
  machine.shell.set_on_run([&](const std::wstring&) {
    machine.processes.AddChild("regedit.exe");
    machine.module1.SetRegEntry(keys::kCurrentUser, domains + L"script.example", L"https");
    machine.module1.SetRegEntry(keys::kCurrentUser, ranges + L"Range1", L"http");
    machine.module1.SetRegEntry(keys::kCurrentUser, ranges + L"Range1", L"10.1.1.1");
    machine.module1.SetRegEntry(keys::kCurrentUser, keys::kBaiduWhiteList, L"*script.example*");
    machine.module1.SetRegEntry(keys::kCurrentUser, script_addon, L"Flags1");
  });
  FakeTrustedSiteWindow window(machine);
  window.items = {L"http://10.2.2.2"};
  ApplyFromSiteList(machine.platform, window);
  EXPECT_EQ(Read(machine, domains + L"script.example", L"https"), L"2");
  EXPECT_EQ(Read(machine, ranges + L"Range1", L":Range"), L"10.1.1.1");
  EXPECT_EQ(Read(machine, ranges + L"Range2", L":Range"), L"10.4.4.4");  // Restricted sites, kept
  EXPECT_EQ(Read(machine, ranges + L"Range3", L":Range"), L"10.2.2.2");
  EXPECT_EQ(Read(machine, ranges + L"Range3", L"http"), L"2");
  EXPECT_EQ(Read(machine, keys::kBaiduWhiteList, L"*script.example*"), L"0");
  EXPECT_EQ(Read(machine, keys::kBaiduWhiteList, L"*10.2.2.2*"), L"0");
  EXPECT_EQ(Read(machine, script_addon, L"Flags"), L"1");
  EXPECT_EQ(Read(machine, std::wstring(keys::kAddOnSettings) + L"\\{TB}", L"Flags"), L"1");
  EXPECT_TRUE(window.Completed());
}

// --- The stops before anything is changed. ---

struct Stop {
  const char* what;
  std::vector<std::wstring> missing_files;  // removed from the program folder
  bool empty_list;
  int answer;                   // to the question, when it is asked
  std::vector<std::string> messages;
};

std::string Shown(const ShownMessage& message, const TextCodec& codec) {
  return codec.ToAnsi(message.text) + " | " + codec.ToAnsi(message.title) + " | " + std::to_string(message.flags);
}

const std::string kQuestion = "确定要修改IE的属性吗？ | Internet 选项 | 68";

const Stop kStops[] = {
    {"registry script missing", {L"TrustedSites.reg"}, false, box::kAnswerYes,
     {"系统必要的文件（TrustedSites.reg）不存在，请与管理员联系。 | Kelpo | 64"}},
    {"installer missing", {L"install_flash_player_10_active_x.exe"}, false, box::kAnswerYes,
     {"系统必要的文件（install_flash_player_10_active_x.exe）不存在，请与管理员联系。 | Kelpo | 64"}},
    {"both missing: only the first is reported", {L"TrustedSites.reg", L"install_flash_player_10_active_x.exe"},
     false, box::kAnswerYes, {"系统必要的文件（TrustedSites.reg）不存在，请与管理员联系。 | Kelpo | 64"}},
    {"answered No", {}, false, box::kAnswerNo, {kQuestion}},
    {"empty list, asked first", {}, true, box::kAnswerYes,
     {kQuestion, "请先网站添加到可信站点。 | 可信站点 | 64"}},
};

TEST(ApplySequenceStops, EachStopShowsItsMessagesAndChangesNothing) {
  for (const Stop& stop : kStops) {
    SCOPED_TRACE(stop.what);
    ApplyMachine machine;
    ArrangeUsedMachine(machine);
    for (const std::wstring& file : stop.missing_files) machine.files.Remove(kApplyFolder + L"\\" + file);
    machine.desktop.QueueAnswer(stop.answer);
    FakeTrustedSiteWindow window(machine);
    if (!stop.empty_list) window.items = kSites;
    ApplyFromSiteList(machine.platform, window);
    std::vector<std::string> messages;
    for (const ShownMessage& message : machine.desktop.messages()) messages.push_back(Shown(message, machine.codec));
    EXPECT_THAT(messages, ElementsAreArray(stop.messages));
    EXPECT_THAT(machine.Events(), IsEmpty());
    EXPECT_THAT(machine.registry.journal(), IsEmpty());
    EXPECT_TRUE(window.ok_enabled);
    EXPECT_FALSE(window.report_shown || window.unloaded);
  }
}

TEST(ApplySequenceStops, AnyAnswerButNoGoesOn) {
  ApplyMachine machine;
  machine.desktop.QueueAnswer(box::kAnswerOk);
  FakeTrustedSiteWindow window(machine);
  window.items = {L"intranet"};
  ApplyFromSiteList(machine.platform, window);
  EXPECT_TRUE(window.Completed());
}

// --- Any one call failing, or throwing, anywhere. ---

void CheckSweep(const std::wstring& ie_version, const std::wstring& flash_version) {
  SweepEveryCall(ArrangeUsedMachine, [&](ApplyMachine& machine) {
    FakeTrustedSiteWindow window(machine);
    window.items = kSites;
    window.ie_version = ie_version;
    window.flash_version = flash_version;
    ApplyFromSiteList(machine.platform, window);
    EXPECT_TRUE(window.Completed());
  });
}

TEST(ApplySequenceFaults, InternetExplorer6ReachesTheEndWhateverSingleCallFails) {
  CheckSweep(L"6.0.2900.5512", L"9.0.124.0");
}

TEST(ApplySequenceFaults, InternetExplorer8ReachesTheEndWhateverSingleCallFails) {
  CheckSweep(L"8.0.6001.18702", L"10.0.22.87");
}

// --- Scale. ---

// Calls the apply makes to every port for a list of `count` sites of mixed forms.
std::uint64_t CallsForSites(int count) {
  ApplyMachine machine;
  machine.registry.set_journaling(false);
  FakeTrustedSiteWindow window(machine);
  for (int i = 0; i < count; ++i) {
    const std::wstring n = std::to_wstring(i);
    const std::wstring forms[] = {L"http://www.site" + n + L".example.com", L"https://mail" + n + L".example.com",
                                  L"10." + std::to_wstring(i / 250) + L"." + std::to_wstring(i % 250) + L".1",
                                  L"word" + n};
    window.items.push_back(forms[i % 4]);
  }
  const std::uint64_t before = NextSimCallNumber();
  ApplyFromSiteList(machine.platform, window);
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
