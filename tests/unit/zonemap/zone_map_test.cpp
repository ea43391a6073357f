// Reading the zone map into site items, searching its ranges, clearing its Trusted sites.
#include <array>

#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "unit/registry/registry_fixture.h"
#include "zonemap/trusted_entries.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo::testing {
namespace {

const std::string kDomains = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
const std::string kRanges = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
const std::string kEscRanges = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";

class ZoneMap : public RegistryTest {
 protected:
  void Scheme(const std::string& key, const std::string& scheme, std::uint32_t zone = 2) {
    Put(reg::kCurrentUser, key, scheme, reg::kRegDword, Dword(zone));
  }
  void Range(const std::string& root, const std::string& name, const std::string& scheme, const std::string& address,
             std::uint32_t zone = 2) {
    if (!scheme.empty()) Put(reg::kCurrentUser, root + "\\" + name, scheme, reg::kRegDword, Dword(zone));
    if (!address.empty()) Put(reg::kCurrentUser, root + "\\" + name, ":Range", reg::kRegSz, address);
  }
  void MakeKey(const std::string& path) {
    HKey key = 0;
    ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, path, &key), reg::kSuccess);
    registry_.CloseKey(key);
  }
  std::vector<std::wstring> Domains() { return zone_map_.TrustedDomains(); }
  std::vector<std::wstring> Ranges() { return zone_map_.TrustedRanges(); }
  // Every key below `path` and each of its values, one line each: "key" or "key name=data",
  // a DWORD as its number, other data as its bytes.
  std::vector<std::string> Tree(const std::string& path, const std::string& shown = "") {
    std::vector<std::string> lines;
    for (const StoredValue& value : UserValues(path))
      lines.push_back(shown + " " + value.name + "=" +
                      (value.type == reg::kRegDword ? std::to_string(static_cast<unsigned char>(value.data[0]))
                                                    : value.data.substr(0, value.data.find('\0'))));
    HKey key = 0;
    if (registry_.OpenKey(reg::kCurrentUser, path, &key) != reg::kSuccess) return lines;
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
      std::array<char, 256> name{};
      std::uint32_t size = 256;
      if (registry_.EnumKeyEx(key, i, name.data(), &size) != reg::kSuccess) break;
      names.emplace_back(name.data(), size);
    }
    registry_.CloseKey(key);
    for (const std::string& name : names) {
      const std::string below = shown.empty() ? name : shown + "\\" + name;
      lines.push_back(below);
      for (const std::string& line : Tree(path + "\\" + name, below)) lines.push_back(line);
    }
    return lines;
  }
  void Clear() {
    EXPECT_TRUE(NothingLeft(ClearTrustedRanges(registry_, codec_)));
    EXPECT_TRUE(NothingLeft(ClearTrustedDomains(registry_, codec_)));
  }

  ZoneMapReader zone_map_{registry_, codec_, desktop_};
};

TEST_F(ZoneMap, LeafKeysBecomeItemsWithTheHostBuiltFromThePath) {
  Scheme(kDomains + "\\example.com\\www", "http");
  Scheme(kDomains + "\\example.com\\mail", "https");
  Scheme(kDomains + "\\example.com", "http");  // has subkeys: no item of its own
  Scheme(kDomains + "\\intranet", "*");
  Scheme(kDomains + "\\both", "http");
  Scheme(kDomains + "\\both", "https");
  Scheme(kDomains + "\\org\\example\\deep\\a", "http");
  EXPECT_EQ(Domains(), (std::vector<std::wstring>{L"https://both", L"https://mail.example.com", L"http://www.example.com",
                                                 L"intranet", L"http://a.deep.example.org"}));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, OnlyTrustedSitesAreListedWithTheLastSchemeThatMapsThemThere) {
  Scheme(kDomains + "\\intranet.example", "*", 1);
  Scheme(kDomains + "\\blocked.example", "http", 4);
  Scheme(kDomains + "\\mixed.example", "http");
  Scheme(kDomains + "\\mixed.example", "https", 4);  // enumerated last, but Restricted sites
  Scheme(kDomains + "\\mixed2.example", "https");
  Scheme(kDomains + "\\mixed2.example", "ftp", 1);
  Scheme(kDomains + "\\example.com\\www", "http");
  Scheme(kDomains + "\\example.com\\ads", "http", 4);
  Put(reg::kCurrentUser, kDomains + "\\text.example", "http", reg::kRegSz, std::string("2\0", 2));
  Put(reg::kCurrentUser, kDomains + "\\binary.example", "http", reg::kRegBinary, Dword(2));
  Put(reg::kCurrentUser, kDomains + "\\long.example", "http", reg::kRegBinary, Dword(2) + std::string(4, '\0'));
  MakeKey(kDomains + "\\novalues");
  EXPECT_EQ(Domains(), (std::vector<std::wstring>{L"http://www.example.com", L"http://mixed.example",
                                                 L"https://mixed2.example"}));
  Range(kRanges, "Range1", "http", std::string("10.0.0.1\0", 9), 4);
  Range(kRanges, "Range2", "http", std::string("10.0.0.2\0", 9));
  Range(kRanges, "Range3", "https", std::string("10.0.0.2\0", 9), 4);
  Put(reg::kCurrentUser, kRanges + "\\Range3", "http", reg::kRegDword, Dword(2));
  Range(kRanges, "Range4", "", std::string("10.0.0.4\0", 9));
  Put(reg::kCurrentUser, kRanges + "\\Range5", ":Range", reg::kRegDword, Dword(2));
  EXPECT_EQ(Ranges(), (std::vector<std::wstring>{L"http://10.0.0.2", L"http://10.0.0.2"}));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, MissingOrEmptyDomainsGiveNothing) {
  EXPECT_TRUE(Domains().empty());
  MakeKey(kDomains);
  EXPECT_TRUE(Domains().empty());
}

TEST_F(ZoneMap, UnopenableKeyIsPassedOverAndTheWalkGoesOn) {
  Scheme(kDomains + "\\a.example", "http");
  Scheme(kDomains + "\\b.example", "http");
  Scheme(kDomains + "\\c.example", "http");
  registry_.InjectFault({RegOp::kOpenKey, "HKEY_CURRENT_USER\\" + kDomains + "\\b.example", 5});
  EXPECT_EQ(Domains(), (std::vector<std::wstring>{L"http://a.example", L"http://c.example"}));
}

// The walks end on the counts a key gives of its subkeys and values; when it gives none they
// enumerate to the end, and read and clear the same.
TEST_F(ZoneMap, AKeyThatCannotBeCountedIsReadAndClearedToTheEnd) {
  for (const bool counted : {true, false}) {
    SCOPED_TRACE(counted ? "counted" : "not counted");
    registry_.ClearFaults();
    Scheme(kDomains + "\\example.com\\www", "http");
    Scheme(kDomains + "\\example.com", "https");
    Scheme(kDomains + "\\example.com\\mail", "*");
    Scheme(kDomains + "\\intranet", "http", 1);
    Range(kRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
    if (!counted) registry_.InjectFault({RegOp::kQueryInfoKey, "", 5});
    EXPECT_EQ(Domains(), (std::vector<std::wstring>{L"mail.example.com", L"http://www.example.com"}));
    EXPECT_EQ(Ranges(), (std::vector<std::wstring>{L"http://10.0.0.1"}));
    EXPECT_TRUE(NothingLeft(ClearTrustedRanges(registry_, codec_)));
    EXPECT_TRUE(NothingLeft(ClearTrustedDomains(registry_, codec_)));
    EXPECT_EQ(Tree(kDomains), (std::vector<std::string>{"intranet", "intranet http=1"}));
    EXPECT_TRUE(Tree(kRanges).empty());
    EXPECT_EQ(registry_.open_handle_count(), 0u);
  }
}

TEST_F(ZoneMap, KeyNamesThatDoNotFitTheBufferEndTheEnumeration) {
  SimRegistry wine(SimRegistryBehaviour::Wine());  // accepts a 256-character name
  ZoneMapReader zone_map(wine, codec_, desktop_);
  HKey key = 0;
  ASSERT_EQ(wine.CreateKey(reg::kCurrentUser, kDomains, &key), reg::kSuccess);
  const std::string trusted = Dword(2);
  for (const std::string& name : {std::string("a"), std::string(254, 'b'), std::string(255, 'c'), std::string("d")}) {
    HKey child = 0;
    ASSERT_EQ(wine.CreateKey(key, name, &child), reg::kSuccess);
    wine.SetValue(child, "http", reg::kRegDword, reinterpret_cast<const std::uint8_t*>(trusted.data()), 4);
    wine.CloseKey(child);
  }
  wine.CloseKey(key);
  const std::vector<std::wstring> items = zone_map.TrustedDomains();
  // The 254-character name fits the buffer but its full path is too long to open: passed
  // over. The 255-character one needs 256 bytes and ends the walk before "d".
  EXPECT_EQ(items, (std::vector<std::wstring>{L"http://a"}));
}

TEST_F(ZoneMap, RangeItemsJoinSchemeAndAddress) {
  Range(kRanges, "Range1", "http", std::string("192.168.1.20\0", 13));
  Range(kRanges, "Range2", "*", std::string("10.0.0.5\0", 9));
  Range(kRanges, "Range3", "https", "192.168.100.100");  // 15 bytes, no terminating zero
  Range(kRanges, "Range5", "http", "");
  Range(kRanges, "Zed", "http", std::string(" 10.0.0.7 \0", 11));
  EXPECT_EQ(Ranges(), (std::vector<std::wstring>{L"http://192.168.1.20", L"*://10.0.0.5", L"https://192.168.100.100",
                                                L"http://", L"http://10.0.0.7 "}));  // trimmed before the zero is cut
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, RangeSearchCountsEveryVisitedKeyAndStopsAtTheMatch) {
  Range(kRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
  Range(kRanges, "Range2", "http", "192.168.100.100");
  Range(kRanges, "Range3", "http", std::string("10.0.0.3\0", 9));
  RangeSearch search = zone_map_.FindRange(keys::kRanges, L"http://192.168.100.100");
  EXPECT_TRUE(search.found);
  EXPECT_EQ(search.keys_visited, 2);
  search = zone_map_.FindRange(keys::kRanges, L"HTTP://10.0.0.1");
  EXPECT_FALSE(search.found);
  EXPECT_EQ(search.keys_visited, 3);
  search = zone_map_.FindRange(keys::kEscRanges, L"http://10.0.0.1");
  EXPECT_FALSE(search.found);
  EXPECT_EQ(search.keys_visited, 0);
  Range(kEscRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
  search = zone_map_.FindRange(keys::kEscRanges, L"http://10.0.0.1");
  EXPECT_TRUE(search.found);
  EXPECT_EQ(search.keys_visited, 1);
}

TEST_F(ZoneMap, TheSearchTakesTheLastValueNameOtherThanRangeAsTheSchemeWhateverItHolds) {
  Put(reg::kCurrentUser, kRanges + "\\Range1", ":Range", reg::kRegSz, std::string("10.0.0.5\0", 9));
  Put(reg::kCurrentUser, kRanges + "\\Range1", "http", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, kRanges + "\\Range1", "https", reg::kRegDword, Dword(4));  // any zone counts here
  Put(reg::kCurrentUser, kRanges + "\\Range2", ":range", reg::kRegSz, std::string("10.0.0.6\0", 9));
  Put(reg::kCurrentUser, kRanges + "\\Range2", ":Range", reg::kRegSz, std::string("10.0.0.6\0", 9));
  Put(reg::kCurrentUser, kRanges + "\\Range3", "ftp", reg::kRegSz, std::string(400, 'x'));  // data too big
  Put(reg::kCurrentUser, kRanges + "\\Range3", ":Range", reg::kRegSz, std::string("10.0.0.7\0", 9));
  EXPECT_TRUE(zone_map_.FindRange(keys::kRanges, L"https://10.0.0.5").found);
  EXPECT_TRUE(zone_map_.FindRange(keys::kRanges, L":range://10.0.0.6").found);  // the comparison is exact
  EXPECT_TRUE(zone_map_.FindRange(keys::kRanges, L"ftp://10.0.0.7").found);
  EXPECT_FALSE(zone_map_.FindRange(keys::kRanges, L"http://10.0.0.5").found);
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

using Lines = std::vector<std::string>;

TEST_F(ZoneMap, ClearingRemovesTrustedValuesThenTheKeysTheyLeaveEmptyDeepestFirst) {
  Scheme(kDomains + "\\a.example\\www", "http");      // leaf and then its parent go
  Scheme(kDomains + "\\b.example\\www", "http");
  Scheme(kDomains + "\\b.example\\ads", "http", 4);    // keeps its parent
  Scheme(kDomains + "\\c.example", "http", 1);
  Scheme(kDomains + "\\c.example\\www", "https");      // the parent keeps its own zone-1 value
  Scheme(kDomains + "\\d.example", "http");
  Scheme(kDomains + "\\d.example", "https", 4);         // stays with its Restricted sites value
  Put(reg::kCurrentUser, kDomains + "\\e.example", "http", reg::kRegSz, std::string("2\0", 2));
  MakeKey(kDomains + "\\empty.example");               // already empty: goes too
  Scheme(kDomains, "http");                              // the Domains key itself stays
  Scheme(kDomains, "file", 3);
  Clear();
  EXPECT_EQ(Tree(kDomains), (Lines{" file=3", "b.example", "b.example\\ads", "b.example\\ads http=4", "c.example",
                                   "c.example http=1", "d.example", "d.example https=4", "e.example",
                                   "e.example http=2"}));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, ClearingRangesRemovesAKeyLeftWithOnlyItsAddress) {
  Range(kRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
  Range(kRanges, "Range2", "http", std::string("10.0.0.2\0", 9), 4);
  Range(kRanges, "Range3", "http", std::string("10.0.0.3\0", 9));
  Put(reg::kCurrentUser, kRanges + "\\Range3", "https", reg::kRegDword, Dword(1));
  Range(kRanges, "Range4", "", std::string("10.0.0.4\0", 9));  // no scheme at all: nothing but its address
  Scheme(kRanges + "\\Odd\\Below", "http");  // deeper keys follow the rule of Domains
  Put(reg::kCurrentUser, kRanges + "\\Odd\\Below", ":Range", reg::kRegSz, std::string("10.0.0.5\0", 9));
  Clear();
  EXPECT_EQ(Tree(kRanges), (Lines{"Odd", "Odd\\Below", "Odd\\Below :Range=10.0.0.5", "Range2", "Range2 http=4",
                                  "Range2 :Range=10.0.0.2", "Range3", "Range3 :Range=10.0.0.3", "Range3 https=1"}));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kRanges));
}

TEST_F(ZoneMap, ClearingPassesOverWhatItCannotOpenOrDelete) {
  Scheme(kDomains + "\\a.example", "http");
  Scheme(kDomains + "\\b.example\\www", "http");
  Scheme(kDomains + "\\c.example", "http");
  Scheme(kDomains + "\\d.example", "http");
  registry_.InjectFault({RegOp::kOpenKey, "HKEY_CURRENT_USER\\" + kDomains + "\\a.example", 5, false, 0, 1});
  registry_.MarkReadOnly("HKEY_CURRENT_USER\\" + kDomains + "\\b.example\\www");
  registry_.InjectFault({RegOp::kDeleteKey, "HKEY_CURRENT_USER\\" + kDomains + "\\c.example", 5});
  Clear();
  EXPECT_EQ(Tree(kDomains), (Lines{"a.example", "a.example http=2", "b.example", "b.example\\www",
                                   "b.example\\www http=2", "c.example"}));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
  EXPECT_EQ(ClearTrustedEntries(registry_, reg::kCurrentUser, "Software\\Nowhere", false), reg::kFileNotFound);
}

TEST_F(ZoneMap, TenThousandDomainsReadInRegistryOrder) {
  registry_.set_journaling(false);
  for (int i = 0; i < 10000; ++i) Scheme(kDomains + "\\site" + std::to_string(100000 + i) + ".example\\www", "http");
  const auto items = Domains();
  ASSERT_EQ(items.size(), 10000u);
  EXPECT_EQ(items.front(), L"http://www.site100000.example");
  EXPECT_EQ(items.back(), L"http://www.site109999.example");
  EXPECT_EQ(DeleteRegistryTree(registry_, reg::kCurrentUser, kDomains), reg::kSuccess);
}

}  // namespace
}  // namespace kelpo::testing
