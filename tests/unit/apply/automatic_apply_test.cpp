// Automatic mode's apply: the one set-up site added to the zone map, escape keys and
// white-lists already there, range numbers after the keys counted, nothing ever written over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "apply/automatic_apply.h"
#include "registry/key_paths.h"
#include "unit/apply/apply_fixture.h"
#include "unit/apply/fault_sweep.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct Counters {
  std::int32_t range = 0;
  std::int32_t esc_range = 0;
};

// One run of the program in automatic mode: how far it counted each family of range keys.
Counters CountersOf(const AutomaticApplyOutcome& outcome) { return {outcome.range_count, outcome.escape_range_count}; }

// The writes for the site: white-lists and zone map, normal and escape keys.
std::vector<std::string> SiteWrites(const ApplyMachine& machine) {
  std::vector<std::string> writes;
  for (const std::string& line : machine.Events()) {
    for (const char* key : {"set Baidu", "set Google", "set Domains", "set EscDomains", "set Ranges", "set EscRanges"})
      if (line.rfind(key, 0) == 0) writes.push_back(line.substr(4));
  }
  return writes;
}

void PutRange(ApplyMachine& machine, std::wstring_view ranges, const std::wstring& name, const std::wstring& scheme,
              const std::wstring& address) {
  machine.writer.WriteZoneScheme(keys::Below(ranges, name), scheme);
  machine.writer.WriteRangeAddress(keys::Below(ranges, name), address);
}

void PutGoogleText(ApplyMachine& machine, const std::string& text) {
  HKey key = 0;
  machine.registry.CreateKey(reg::kCurrentUser, machine.codec.ToAnsi(keys::kGoogleOptions), &key);
  machine.registry.SetValue(key, "PopupBlockerWhitelist", reg::kRegSz,
                            reinterpret_cast<const std::uint8_t*>(text.c_str()), static_cast<std::uint32_t>(text.size() + 1));
  machine.registry.CloseKey(key);
}

struct SiteCase {
  const char* what;
  std::wstring setup_url;
  std::function<void(ApplyMachine&)> before;
  std::vector<std::string> writes;
  Counters counters{};  // after the run
};

const SiteCase kSiteCases[] = {
    {"a www address: no www. in the zone name, nor in the Google entry", L"http://www.example.com", nullptr,
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2",
      "EscDomains\\example.com\\www http=dword:2", "Google PopupBlockerWhitelist=|example.com|\\0"}},
    {"no scheme: the whole address is the host, the scheme word http", L"www.example.com", nullptr,
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2",
      "EscDomains\\example.com\\www http=dword:2", "Google PopupBlockerWhitelist=|example.com|\\0"}},
    {"https keeps its scheme word", L"https://mail.example.com", nullptr,
     {"Baidu *mail.example.com*=dword:0", "Domains\\mail.example.com https=dword:2",
      "EscDomains\\mail.example.com https=dword:2", "Google PopupBlockerWhitelist=|mail.example.com|\\0"}},
    {"one word without a scheme: every protocol", L"intranet", nullptr,
     {"Baidu *intranet*=dword:0", "Domains\\intranet *=dword:2", "EscDomains\\intranet *=dword:2",
      "Google PopupBlockerWhitelist=|intranet|\\0"}},
    {"four parts not all numbers: white-lists only", L"1.2.3.x", nullptr,
     {"Baidu *1.2.3.x*=dword:0", "Google PopupBlockerWhitelist=|1.2.3.x|\\0"}},
    {"an address with no range keys: Range1 under both", L"http://10.0.0.5", nullptr,
     {"Baidu *10.0.0.5*=dword:0", "Ranges\\Range1 http=dword:2", "Ranges\\Range1 :Range=10.0.0.5\\0",
      "EscRanges\\Range1 http=dword:2", "EscRanges\\Range1 :Range=10.0.0.5\\0",
      "Google PopupBlockerWhitelist=|10.0.0.5|\\0"},
     {1, 1}},
    {"the same address on a second run is found: nothing new but the Baidu entry", L"http://10.0.0.5",
     [](ApplyMachine& machine) { RunAutomatically(machine, L"http://10.0.0.5"); },
     {"Baidu *10.0.0.5*=dword:0"},
     {1, 1}},
    {"an address without a scheme is never found: written after the two keys counted", L"10.0.0.5",
     [](ApplyMachine& machine) {
       PutRange(machine, keys::kRanges, L"Range1", L"http", L"10.0.0.5");
       PutRange(machine, keys::kRanges, L"Range2", L"http", L"10.0.0.9");
     },
     {"Baidu *10.0.0.5*=dword:0", "Ranges\\Range3 http=dword:2", "Ranges\\Range3 :Range=10.0.0.5\\0",
      "EscRanges\\Range1 http=dword:2", "EscRanges\\Range1 :Range=10.0.0.5\\0",
      "Google PopupBlockerWhitelist=|10.0.0.5|\\0"},
     {3, 1}},
    {"range keys with gaps: the counted number is taken, so the next free one is used",
     L"http://10.0.0.5",
     [](ApplyMachine& machine) {
       PutRange(machine, keys::kRanges, L"Range2", L"http", L"10.0.0.7");
       PutRange(machine, keys::kRanges, L"Range3", L"http", L"10.0.0.8");
       PutRange(machine, keys::kEscRanges, L"Range2", L"http", L"10.0.0.7");
     },
     {"Baidu *10.0.0.5*=dword:0", "Ranges\\Range4 http=dword:2", "Ranges\\Range4 :Range=10.0.0.5\\0",
      "EscRanges\\Range3 http=dword:2", "EscRanges\\Range3 :Range=10.0.0.5\\0",
      "Google PopupBlockerWhitelist=|10.0.0.5|\\0"},
     {4, 3}},
    {"found under Ranges but not EscRanges: only the escape key is written", L"https://10.0.0.5",
     [](ApplyMachine& machine) {
       PutRange(machine, keys::kRanges, L"Range1", L"http", L"10.0.0.9");
       PutRange(machine, keys::kRanges, L"Range2", L"https", L"10.0.0.5");
       PutRange(machine, keys::kRanges, L"Range3", L"http", L"10.0.0.7");
     },
     {"Baidu *10.0.0.5*=dword:0", "EscRanges\\Range1 https=dword:2", "EscRanges\\Range1 :Range=10.0.0.5\\0",
      "Google PopupBlockerWhitelist=|10.0.0.5|\\0"},
     {2, 1}},
    {"the Google list holds the entry inside a longer name: left alone", L"http://www.example.com",
     [](ApplyMachine& machine) { PutGoogleText(machine, "|www.myexample.com|"); },
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2",
      "EscDomains\\example.com\\www http=dword:2"}},
    {"the Google list gets the entry appended", L"intranet",
     [](ApplyMachine& machine) { PutGoogleText(machine, "|a.example.com|"); },
     {"Baidu *intranet*=dword:0", "Domains\\intranet *=dword:2", "EscDomains\\intranet *=dword:2",
      "Google PopupBlockerWhitelist=|a.example.com|intranet|\\0"}},
    {"a Google list not beginning with | is not stored again", L"intranet",
     [](ApplyMachine& machine) { PutGoogleText(machine, "a.example.com|"); },
     {"Baidu *intranet*=dword:0", "Domains\\intranet *=dword:2", "EscDomains\\intranet *=dword:2"}},
    {"an empty address: ** to Baidu, * on the Domains and EscDomains keys themselves", L"", nullptr,
     {"Baidu **=dword:0", "Domains *=dword:2", "EscDomains *=dword:2"}},
};

TEST(AutomaticApplySite, EachSetupAddressAddsItsEntries) {
  for (const SiteCase& c : kSiteCases) {
    SCOPED_TRACE(c.what);
    ApplyMachine machine;
    if (c.before) c.before(machine);
    machine.ForgetSetUp();
    const Counters counters = CountersOf(RunAutomatically(machine, c.setup_url));
    EXPECT_THAT(SiteWrites(machine), ElementsAreArray(c.writes));
    EXPECT_EQ(counters.range, c.counters.range);
    EXPECT_EQ(counters.esc_range, c.counters.esc_range);
    EXPECT_THAT(machine.desktop.messages(), IsEmpty());
  }
}

TEST(AutomaticApplySite, ARangeKeyThatCannotBeLookedAtIsNotWrittenOver) {
  ApplyMachine machine;
  PutRange(machine, keys::kRanges, L"Range1", L"http", L"10.0.0.9");
  machine.registry.InjectFault(
      {RegOp::kOpenKeyEx, "HKEY_CURRENT_USER\\" + machine.codec.ToAnsi(keys::Below(keys::kRanges, L"Range2")),
       reg::kAccessDenied});
  const Counters counters = CountersOf(RunAutomatically(machine, L"http://10.0.0.5"));
  EXPECT_EQ(counters.range, 3);
  EXPECT_THAT(SiteWrites(machine), ::testing::Contains("Ranges\\Range3 :Range=10.0.0.5\\0"));
}

TEST(AutomaticApplySite, WhenTheRegistryWillNotTellWhichNumberIsFreeNoRangeKeyIsWritten) {
  ApplyMachine machine;
  machine.registry.InjectFault({RegOp::kOpenKeyEx,
                                "HKEY_CURRENT_USER\\" + machine.codec.ToAnsi(keys::Below(keys::kRanges, L"*")),
                                reg::kAccessDenied});
  const Counters counters = CountersOf(RunAutomatically(machine, L"http://10.0.0.5"));
  EXPECT_EQ(counters.range, 0);
  EXPECT_THAT(SiteWrites(machine),
              ElementsAreArray({"Baidu *10.0.0.5*=dword:0", "EscRanges\\Range1 http=dword:2",
                                "EscRanges\\Range1 :Range=10.0.0.5\\0", "Google PopupBlockerWhitelist=|10.0.0.5|\\0"}));
}

TEST(GoogleWhitelist, ExtendedUnlessTheEntryIsAlreadyThere) {
  EXPECT_EQ(ExtendGoogleWhitelist(L"", L"example.com"), L"|example.com|");
  EXPECT_EQ(ExtendGoogleWhitelist(L"|a|", L" example.com "), L"|a|example.com|");
  EXPECT_EQ(ExtendGoogleWhitelist(L" |a| ", L"b"), L"|a| b|");
  EXPECT_EQ(ExtendGoogleWhitelist(L"|www.myexample.com|", L"example.com"), std::nullopt);
  EXPECT_EQ(ExtendGoogleWhitelist(L"|Example.com|", L"example.com"), L"|Example.com|example.com|");
  // An empty entry is found in any text: an empty list gets no "||".
  EXPECT_EQ(ExtendGoogleWhitelist(L"", L""), std::nullopt);
}

// The Google white-list value's bytes as stored; empty when there is none.
std::string StoredGoogleList(ApplyMachine& machine) {
  HKey key = 0;
  if (machine.registry.OpenKey(reg::kCurrentUser, machine.codec.ToAnsi(keys::kGoogleOptions), &key) != reg::kSuccess)
    return "";
  std::string bytes(20000, '\0');
  std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
  std::uint32_t type = 0;
  const RegStatus status =
      machine.registry.QueryValue(key, "PopupBlockerWhitelist", &type, reinterpret_cast<std::uint8_t*>(bytes.data()), &size);
  machine.registry.CloseKey(key);
  return status == reg::kSuccess ? bytes.substr(0, size) : "";
}

TEST(GoogleWhitelist, AListTooLongForItsZeroSurvivesTheInteractiveApplyAndThenTheAutomaticOne) {
  ApplyMachine machine;  // Windows: a string stored without its zero is read back without one
  FakeApplyWindow window(machine);
  for (int i = 0; i < 600; ++i) window.sites.push_back(L"site" + std::to_wstring(1000 + i) + L".example.com");
  window.Apply();
  const std::string stored = StoredGoogleList(machine);
  ASSERT_EQ(stored.size(), 10000u);  // of about 12,000: cut, and so without its zero
  ASSERT_EQ(stored.substr(0, 25), "|site1000.example.com|sit");

  RunAutomatically(machine, L"http://new.example");
  // The automatic apply read the list whole and appended to it; the policy writer cut the
  // longer text back to the same 10,000 bytes: the user's list is kept, not replaced.
  EXPECT_EQ(StoredGoogleList(machine), stored);
  EXPECT_EQ(machine.reader.ReadText(reg::kCurrentUser, keys::kGoogleOptions, keys::kGoogleWhitelistValue),
            machine.codec.FromAnsi(stored));
}

TEST(GoogleWhitelist, AnAutomaticApplyAppendsToAListStoredWithoutItsZero) {
  ApplyMachine machine;
  const std::string list = "|" + std::string(9000, 'a') + ".example|";
  HKey key = 0;
  ASSERT_EQ(machine.registry.CreateKey(reg::kCurrentUser, machine.codec.ToAnsi(keys::kGoogleOptions), &key), reg::kSuccess);
  machine.registry.SetValue(key, "PopupBlockerWhitelist", reg::kRegSz, reinterpret_cast<const std::uint8_t*>(list.data()),
                            static_cast<std::uint32_t>(list.size()));
  machine.registry.CloseKey(key);
  RunAutomatically(machine, L"http://new.example");
  EXPECT_EQ(StoredGoogleList(machine), list + "new.example|" + '\0');
}

// --- The whole run. ---

void ArrangeUsedMachine(ApplyMachine& machine) {
  machine.writer.WriteZoneScheme(keys::Below(keys::kDomains, L"old.example.com"), L"http");
  PutRange(machine, keys::kRanges, L"Range1", L"http", L"10.9.9.9");
  machine.writer.WriteBaiduPattern(L"*old.example.com*");
  machine.writer.Write(reg::kCurrentUser, keys::Below(keys::kAddOnSettings, L"{OLD}"), L"Flags1");
  machine.AddToolbarAddOn(L"{TB}");
  PutGoogleText(machine, "|old.example.com|");
  machine.processes.AddProcess("iexplore.exe");  // 1000
  machine.url_cache.AddEntry("http://a.example/", cache::kNormalEntry);
  machine.url_cache.AddEntry("Cookie:user@a.example/", cache::kCookieEntry);
  machine.ForgetSetUp();
}

const std::string kSettings = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";

TEST(AutomaticApplyOrder, SameStepsAsTheTrustedSiteWindowWithOnlyTheAddOnSettingsDeleted) {
  ApplyMachine machine;
  ArrangeUsedMachine(machine);
  RunAutomatically(machine, L"http://10.0.0.5");
  EXPECT_THAT(machine.Events(),
              ElementsAreArray(std::vector<std::string>{
                  "snapshot", "terminate 1000", "uncache http://a.example/", "uncache Cookie:user@a.example/",
                  "set NewWindows PopupMgr=dword:0", "set TabbedBrowsing PopupsUseNewWindow=dword:0",
                  "delete " + kSettings + "\\{OLD}", "delete " + kSettings, "snapshot",
                  "shell regedit.exe /s  \"C:\\Program Files\\Kelpo\\TrustedSites.reg\"", "snapshot", "wait 1001",
                  "set Zone2 Flags=dword:67",
                  "set " + kSettings + "\\{TB} Flags=dword:1", "set " + kSettings + "\\{TB} Version=*",
                  "set Baidu *10.0.0.5*=dword:0",
                  "set Ranges\\Range2 http=dword:2", "set Ranges\\Range2 :Range=10.0.0.5\\0",
                  "set EscRanges\\Range1 http=dword:2", "set EscRanges\\Range1 :Range=10.0.0.5\\0",
                  "set Google PopupBlockerWhitelist=|old.example.com|10.0.0.5|\\0",
                  "start \"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe\"", "wait 1002"}));
  EXPECT_TRUE(machine.reader.KeyExists(reg::kCurrentUser, keys::Below(keys::kDomains, L"old.example.com")));
  EXPECT_THAT(machine.desktop.messages(), IsEmpty());
}

TEST(AutomaticApplyFaults, ReachesTheFlashPlayerStepWhateverSingleCallFails) {
  SweepEveryCall(ArrangeUsedMachine, [](ApplyMachine& machine) {
    RunAutomatically(machine, L"http://10.0.0.5");
    std::vector<std::string> starts;
    for (const ProcCall& call : machine.processes.journal())
      if (call.op == ProcOp::kStart) starts.push_back(machine.Describe(call));
    EXPECT_THAT(starts, ElementsAreArray({StartsWith("start \"C:\\Program Files\\Kelpo\\install_flash")}));
  });
}

}  // namespace
}  // namespace kelpo::testing
