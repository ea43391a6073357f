// Turning site items into zone-map and toolbar white-list entries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/runtime_error.h"
#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "unit/registry_bench.h"
#include "zonemap/site_writer.h"

namespace kelpo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct ItemCase {
  const wchar_t* item;
  const wchar_t* google_text;            // the white-list after this one item
  std::vector<std::string> writes;       // Baidu entry, then the zone-map entry, in order
};

// The worked examples, then the forms around them.
const ItemCase kItemCases[] = {
    {L"http://www.example.com", L"|www.example.com|",
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2"}},
    {L"https://mail.example.com", L"|mail.example.com|",
     {"Baidu *mail.example.com*=dword:0", "Domains\\mail.example.com https=dword:2"}},
    {L"http://192.168.1.20", L"|192.168.1.20|",
     {"Baidu *192.168.1.20*=dword:0", "Ranges\\Range1 http=dword:2", "Ranges\\Range1 :Range=192.168.1.20\\0"}},
    {L"http://intranet", L"|intranet|", {"Baidu *intranet*=dword:0", "Domains\\intranet http=dword:2"}},
    {L"intranet", L"|intranet|", {"Baidu *intranet*=dword:0", "Domains\\intranet *=dword:2"}},
    {L"example.com", L"|example.com|", {"Baidu *example.com*=dword:0", "Domains\\example.com http=dword:2"}},
    {L"http://a.b.example.com", L"|a.b.example.com|", {"Baidu *a.b.example.com*=dword:0"}},
    {L"https://www.example.com", L"|www.example.com|",
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www https=dword:2"}},
    {L"www.example.com", L"|www.example.com|",
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2"}},
    {L"http://www.www.example.com", L"|www.www.example.com|",
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2"}},
    {L"https://intranet", L"|intranet|", {"Baidu *intranet*=dword:0", "Domains\\intranet https=dword:2"}},
    {L"10.0.0.5", L"|10.0.0.5|",
     {"Baidu *10.0.0.5*=dword:0", "Ranges\\Range1 http=dword:2", "Ranges\\Range1 :Range=10.0.0.5\\0"}},
    {L"https://10.0.0.5", L"|10.0.0.5|",
     {"Baidu *10.0.0.5*=dword:0", "Ranges\\Range1 https=dword:2", "Ranges\\Range1 :Range=10.0.0.5\\0"}},
    // Four dotted parts that are not all numbers: white-lists only.
    {L"1.2.3.x", L"|1.2.3.x|", {"Baidu *1.2.3.x*=dword:0"}},
    // Any other number of parts is a domain, never an address.
    {L"1.2.3.4.5", L"|1.2.3.4.5|", {"Baidu *1.2.3.4.5*=dword:0", "Domains\\1.2.3.4.5 http=dword:2"}},
    {L"http://10.1.2", L"|10.1.2|", {"Baidu *10.1.2*=dword:0", "Domains\\10.1.2 http=dword:2"}},
    // Blanks: the host keeps them, the zone name loses them at its ends after the scheme goes.
    {L"http:// example.com ", L"|example.com |", {"Baidu * example.com *=dword:0", "Domains\\example.com http=dword:2"}},
    {L"http://www. example.com", L"|www. example.com|",
     {"Baidu *example.com*=dword:0", "Domains\\example.com\\www http=dword:2"}},
    // A scheme word is taken only at the start; a second scheme after the first is taken too.
    {L"http://https://example.com", L"|https://example.com|",
     {"Baidu *https://example.com*=dword:0", "Domains\\example.com https=dword:2"}},
    {L"HTTP://Example.com", L"|Example.com|", {"Baidu *Example.com*=dword:0", "Domains\\HTTP://Example.com http=dword:2"}},
    // Nothing left of the name: the entry lands on the Domains key itself (a doubled
    // backslash names the same key as a single one).
    {L"://", L"||", {"Baidu **=dword:0", "Domains\\:// *=dword:2"}},
    {L"http://", L"||", {"Baidu **=dword:0", "Domains http=dword:2"}},
    {L"https://", L"||", {"Baidu **=dword:0", "Domains https=dword:2"}},
    {L"www.", L"|www.|", {"Baidu **=dword:0", "Domains\\www http=dword:2"}},
    // Signs and blanks inside an address pass the same test the policy writer applies.
    {L"+1.2.3.4", L"|+1.2.3.4|",
     {"Baidu *+1.2.3.4*=dword:0", "Ranges\\Range1 http=dword:2", "Ranges\\Range1 :Range=+1.2.3.4\\0"}},
};

TEST(SiteWriterItems, EachItemWritesItsEntriesInOrder) {
  for (const ItemCase& c : kItemCases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.item)));
    RegistryBench bench;
    SiteWriter writer(bench.writer, bench.reader);
    writer.WriteSite(c.item);
    EXPECT_THAT(bench.Writes(), ElementsAreArray(c.writes));
    EXPECT_EQ(writer.GoogleWhitelistText(), c.google_text);
  }
}

TEST(SiteWriterParts, HostBaiduPatternAndZoneName) {
  EXPECT_EQ(HostOf(L"http://www.example.com"), L"www.example.com");
  EXPECT_EQ(HostOf(L"a//b//c"), L"b//c");
  EXPECT_EQ(HostOf(L"www.example.com"), L"www.example.com");
  EXPECT_EQ(BaiduPatternOf(L"www.www.example.com"), L"*example.com*");
  EXPECT_EQ(BaiduPatternOf(L"mail.www.example.com"), L"*mail.www.example.com*");
  EXPECT_EQ(BaiduPatternOf(L""), L"**");

  const ZoneName plain = ZoneNameOf(L"example.com");
  EXPECT_FALSE(plain.had_http);
  EXPECT_FALSE(plain.has_https);
  const ZoneName secure = ZoneNameOf(L"https://example.com/");
  EXPECT_TRUE(secure.has_https);
  EXPECT_EQ(secure.name, L"example.com/");
  EXPECT_EQ(ZoneNameOf(L"http://x.http://y").name, L"x.y");
}

TEST(SiteWriterParts, GoogleEntryIsTheZoneNameInItsFinalForm) {
  EXPECT_EQ(ZoneEntryOf(L"http://www.example.com").name, L"example.com");
  EXPECT_EQ(ZoneEntryOf(L"http://10.0.0.5").name, L"10.0.0.5");
  EXPECT_EQ(ZoneEntryOf(L"https://intranet").name, L"intranet");
  EXPECT_EQ(ZoneEntryOf(L"1.2.3.x").form, ZoneForm::kNotAnAddress);
}

TEST(SiteWriterParts, DomainKeysTakeTheGivenZoneMapPath) {
  const std::wstring esc = std::wstring(keys::kEscDomains) + L"\\";
  EXPECT_EQ(DomainKeyOf(keys::kEscDomains, ZoneEntryOf(L"www.example.com")), esc + L"example.com\\www");
  EXPECT_EQ(DomainKeyOf(keys::kEscDomains, ZoneEntryOf(L"")), esc);
  EXPECT_EQ(DomainKeyOf(keys::kEscDomains, ZoneEntryOf(L"10.0.0.5")), std::nullopt);
  EXPECT_EQ(DomainKeyOf(keys::kEscDomains, ZoneEntryOf(L"1.2.3.x")), std::nullopt);
  EXPECT_EQ(RangeKeyOf(keys::kEscRanges, 7), std::wstring(keys::kEscRanges) + L"\\Range7");
}

class SiteWriterRun : public RegistryBenchTest {
 protected:
  SiteWriter NewWriter() { return SiteWriter(writer, reader); }
};

TEST_F(SiteWriterRun, AddressesAreNumberedInListOrderWithOtherItemsBetween) {
  SiteWriter site_writer = NewWriter();
  for (const wchar_t* item : {L"http://10.0.0.1", L"example.com", L"intranet", L"https://10.0.0.2"})
    site_writer.WriteSite(item);
  site_writer.WriteGoogleWhitelist();
  EXPECT_THAT(Writes(), ElementsAre("Baidu *10.0.0.1*=dword:0", "Ranges\\Range1 http=dword:2",
                                    "Ranges\\Range1 :Range=10.0.0.1\\0", "Baidu *example.com*=dword:0",
                                    "Domains\\example.com http=dword:2", "Baidu *intranet*=dword:0",
                                    "Domains\\intranet *=dword:2", "Baidu *10.0.0.2*=dword:0",
                                    "Ranges\\Range2 https=dword:2", "Ranges\\Range2 :Range=10.0.0.2\\0",
                                    "Google PopupBlockerWhitelist=|10.0.0.1|example.com|intranet|10.0.0.2|\\0"));
}

TEST_F(SiteWriterRun, EveryRunNumbersFromOneAndPassesOverKeysThatExistOrCannotBeLookedAt) {
  {
    SiteWriter first = NewWriter();
    for (const wchar_t* item : {L"10.0.0.1", L"10.0.0.2", L"10.0.0.3"}) first.WriteSite(item);
  }
  ASSERT_EQ(DeleteRegistryTree(registry, reg::kCurrentUser, codec.ToAnsi(keys::Below(keys::kRanges, L"Range1"))),
            reg::kSuccess);
  registry.InjectFault({RegOp::kOpenKeyEx, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                           "Internet Settings\\ZoneMap\\Ranges\\Range5", reg::kAccessDenied});
  registry.ClearJournal();
  {
    SiteWriter second = NewWriter();
    for (const wchar_t* item : {L"10.0.0.4", L"10.0.0.5", L"10.0.0.6"}) second.WriteSite(item);
  }
  // Range1 is free again; Range2 and Range3 are kept; Range5 might exist.
  std::vector<std::string> addresses;
  for (const std::string& write : Writes())
    if (write.find(":Range=") != std::string::npos) addresses.push_back(write);
  EXPECT_THAT(addresses, ElementsAre("Ranges\\Range1 :Range=10.0.0.4\\0", "Ranges\\Range4 :Range=10.0.0.5\\0",
                                     "Ranges\\Range6 :Range=10.0.0.6\\0"));
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(SiteWriterRun, WhitelistOfOneSite) {
  SiteWriter site_writer = NewWriter();
  site_writer.WriteSite(L"http://example.com");
  registry.ClearJournal();
  site_writer.WriteGoogleWhitelist();
  EXPECT_THAT(Writes(), ElementsAre("Google PopupBlockerWhitelist=|example.com|\\0"));
}

TEST_F(SiteWriterRun, EmptyListWritesABareBar) {
  SiteWriter site_writer = NewWriter();
  site_writer.WriteGoogleWhitelist();
  EXPECT_THAT(Writes(), ElementsAre("Google PopupBlockerWhitelist=|\\0"));
}

TEST_F(SiteWriterRun, LongWhitelistIsCutByThePolicyWriter) {
  SiteWriter site_writer = NewWriter();
  const std::wstring host(600, L'h');
  for (int i = 0; i < 20; ++i) site_writer.WriteSite(host);  // 20 * 601 bytes + 1
  registry.ClearJournal();
  site_writer.WriteGoogleWhitelist();
  const std::vector<std::string> writes = Writes();
  ASSERT_EQ(writes.size(), 1u);
  const RegCall& set = *std::find_if(registry.journal().begin(), registry.journal().end(),
                                     [](const RegCall& call) { return call.op == RegOp::kSetValue; });
  EXPECT_EQ(set.data.size(), 10000u);
  EXPECT_EQ(set.data.substr(0, 2), "|h");
}

TEST_F(SiteWriterRun, AFailedKeyLeavesOnlyThatEntryOut) {
  registry.InjectFault({RegOp::kCreateKey, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                           "Internet Settings\\ZoneMap\\Domains\\bad.example.com"});
  {
    SiteWriter site_writer = NewWriter();
    for (const wchar_t* item : {L"bad.example.com", L"good.example.com"}) site_writer.WriteSite(item);
  }
  EXPECT_THAT(Writes(), ElementsAre("Baidu *bad.example.com*=dword:0", "Baidu *good.example.com*=dword:0",
                                    "Domains\\good.example.com http=dword:2"));
  EXPECT_THAT(desktop.messages(), IsEmpty());
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST_F(SiteWriterRun, AHostTooLongForAKeyNameStillGoesIntoTheWhiteLists) {
  const std::wstring long_host = std::wstring(300, L'a') + L".example.com";
  SiteWriter site_writer = NewWriter();
  site_writer.WriteSite(L"http://" + long_host);
  site_writer.WriteSite(L"http://next.example.com");
  const std::string narrow(long_host.begin(), long_host.end());
  EXPECT_THAT(Writes(), ElementsAre("Baidu *" + narrow + "*=dword:0", "Baidu *next.example.com*=dword:0",
                                    "Domains\\next.example.com http=dword:2"));
  EXPECT_EQ(site_writer.GoogleWhitelistText(), L"|" + long_host + L"|next.example.com|");
}

TEST_F(SiteWriterRun, TenThousandItemsAreAllWritten) {
  SiteWriter site_writer = NewWriter();
  std::wstring expected_text = L"|";
  for (int i = 0; i < 10000; ++i) {
    const std::wstring item = i % 2 ? L"http://10.0." + std::to_wstring(i / 256) + L"." + std::to_wstring(i % 256)
                                    : L"https://www.site" + std::to_wstring(i) + L".example.com";
    site_writer.WriteSite(item);
    expected_text += HostOf(item) + L"|";
  }
  site_writer.WriteGoogleWhitelist();
  EXPECT_EQ(site_writer.GoogleWhitelistText(), expected_text);
  const std::vector<std::string> writes = Writes();
  EXPECT_EQ(writes.size(), 5000u * 2 + 5000u * 3 + 1);
  EXPECT_THAT(writes, ::testing::Contains("Ranges\\Range5000 :Range=10.0.39.15\\0"));
  EXPECT_THAT(writes, ::testing::Contains("Domains\\site9998.example.com\\www https=dword:2"));
}

TEST_F(SiteWriterRun, RangeNumbersEndAtTheTopOfSixteenBits) {
  registry.set_journaling(false);
  SiteWriter site_writer = NewWriter();
  for (int i = 0; i < 32767; ++i) site_writer.WriteSite(L"10.0.0.1");
  registry.set_journaling(true);
  try {
    site_writer.WriteSite(L"10.0.0.2");
    FAIL() << "no overflow";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 6);
  }
  // The last key keeps its address; the white-lists still took the refused one.
  EXPECT_THAT(Writes(), ElementsAre("Baidu *10.0.0.2*=dword:0"));
  EXPECT_THAT(site_writer.GoogleWhitelistText(), ::testing::EndsWith(std::wstring(L"|10.0.0.1|10.0.0.2|")));
}

}  // namespace
}  // namespace kelpo::testing

