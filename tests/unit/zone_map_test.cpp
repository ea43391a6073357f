// Reading the zone map into site items, searching its ranges, deleting key trees.
#include "sites/zone_map.h"
#include "unit/module1_fixture.h"

namespace kelpo::testing {
namespace {

const std::string kDomains = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
const std::string kRanges = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
const std::string kEscRanges = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";

class ZoneMap : public RegistryTest {
 protected:
  void Scheme(const std::string& key, const std::string& scheme) {
    Put(reg::kCurrentUser, key, scheme, reg::kRegDword, Dword(2));
  }
  void Range(const std::string& root, const std::string& name, const std::string& scheme, const std::string& address) {
    if (!scheme.empty()) Put(reg::kCurrentUser, root + "\\" + name, scheme, reg::kRegDword, Dword(2));
    if (!address.empty()) Put(reg::kCurrentUser, root + "\\" + name, ":Range", reg::kRegSz, address);
  }
  void MakeKey(const std::string& path) {
    HKey key = 0;
    ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, path, &key), reg::kSuccess);
    registry_.CloseKey(key);
  }
  std::vector<std::wstring> Domains() {
    std::vector<std::wstring> items;
    reader_.FindDomainsKeys(reg::kCurrentUser, keys::kDomainsRoot, items);
    return items;
  }
  std::vector<std::wstring> Ranges() {
    std::vector<std::wstring> items;
    reader_.FindRangesKeys(reg::kCurrentUser, keys::kRangesRoot, items);
    return items;
  }
  ZoneMapReader reader_{registry_, codec_, module_};
};

TEST_F(ZoneMap, LeafKeysBecomeItemsWithTheHostBuiltFromThePath) {
  Scheme(kDomains + "\\example.com\\www", "http");
  Scheme(kDomains + "\\example.com\\mail", "https");
  Scheme(kDomains + "\\example.com", "http");  // has subkeys: no item of its own
  Scheme(kDomains + "\\intranet", "*");
  Scheme(kDomains + "\\both", "http");
  Scheme(kDomains + "\\both", "https");
  MakeKey(kDomains + "\\novalues");
  Scheme(kDomains + "\\org\\example\\deep\\a", "http");
  EXPECT_EQ(Domains(), (std::vector<std::wstring>{L"https://both", L"https://mail.example.com", L"http://www.example.com",
                                                 L"intranet", L"://novalues", L"http://a.deep.example.org"}));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, SchemeIsReadUnderTheCurrentUserWhateverTheRoot) {
  Put(reg::kLocalMachine, kDomains + "\\machine.example", "https", reg::kRegDword, Dword(2));
  std::vector<std::wstring> items;
  reader_.FindDomainsKeys(reg::kLocalMachine, keys::kDomainsRoot, items);
  EXPECT_EQ(items, (std::vector<std::wstring>{L"://machine.example"}));
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

TEST_F(ZoneMap, KeyNamesThatDoNotFitTheBufferEndTheEnumeration) {
  SimRegistry wine(SimRegistryBehaviour::Wine());  // accepts a 256-character name
  Module1 module(wine, codec_, desktop_);
  ZoneMapReader reader(wine, codec_, module);
  HKey key = 0;
  wine.CreateKey(reg::kCurrentUser, kDomains + "\\a", &key);
  wine.CloseKey(key);
  ASSERT_EQ(wine.CreateKey(reg::kCurrentUser, kDomains, &key), reg::kSuccess);
  HKey child = 0;
  ASSERT_EQ(wine.CreateKey(key, std::string(254, 'b'), &child), reg::kSuccess);
  wine.CloseKey(child);
  ASSERT_EQ(wine.CreateKey(key, std::string(255, 'c'), &child), reg::kSuccess);
  wine.CloseKey(child);
  ASSERT_EQ(wine.CreateKey(key, "d", &child), reg::kSuccess);
  wine.CloseKey(child);
  wine.CloseKey(key);
  std::vector<std::wstring> items;
  reader.FindDomainsKeys(reg::kCurrentUser, keys::kDomainsRoot, items);
  // The 254-character name fits the buffer but its full path is too long to open: passed
  // over. The 255-character one needs 256 bytes and ends the walk before "d".
  EXPECT_EQ(items, (std::vector<std::wstring>{L"://a"}));
}

TEST_F(ZoneMap, RangeItemsJoinSchemeAndAddress) {
  Range(kRanges, "Range1", "http", std::string("192.168.1.20\0", 13));
  Range(kRanges, "Range2", "*", std::string("10.0.0.5\0", 9));
  Range(kRanges, "Range3", "https", "192.168.100.100");  // 15 bytes, no terminating zero
  Range(kRanges, "Range4", "", std::string("10.0.0.6\0", 9));
  Range(kRanges, "Range5", "http", "");
  Range(kRanges, "Zed", "http", std::string(" 10.0.0.7 \0", 11));
  EXPECT_EQ(Ranges(), (std::vector<std::wstring>{L"http://192.168.1.20", L"*://10.0.0.5", L"https://192.168.100.100",
                                                L"://10.0.0.6", L"http://", L"http://10.0.0.7 "}));  // trimmed before the zero is cut
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, RangeSearchCountsEveryVisitedKeyAndStopsAtTheMatch) {
  Range(kRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
  Range(kRanges, "Range2", "http", "192.168.100.100");
  Range(kRanges, "Range3", "http", std::string("10.0.0.3\0", 9));
  std::int32_t count = 0;
  EXPECT_TRUE(reader_.FindRangeItem(reg::kCurrentUser, keys::kRangesRoot, keys::kRangesPath,
                                    L"http://192.168.100.100", count));
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(reader_.FindRangeItem(reg::kCurrentUser, keys::kRangesRoot, keys::kRangesPath,
                                     L"HTTP://10.0.0.1", count));
  EXPECT_EQ(count, 5);
  std::int32_t esc = 0;
  EXPECT_FALSE(reader_.FindRangeItem(reg::kCurrentUser, keys::kEscRangesRoot, keys::kEscRangesPath,
                                     L"http://10.0.0.1", esc));
  EXPECT_EQ(esc, 0);
  Range(kEscRanges, "Range1", "http", std::string("10.0.0.1\0", 9));
  EXPECT_TRUE(reader_.FindRangeItem(reg::kCurrentUser, keys::kEscRangesRoot, keys::kEscRangesPath,
                                    L"http://10.0.0.1", esc));
  EXPECT_EQ(esc, 1);
}

TEST_F(ZoneMap, DeleteSubkeyTreeRemovesEverythingBelow) {
  for (const char* leaf : {"\\a.com\\www", "\\a.com\\mail", "\\b.com\\x\\y", "\\b.com\\z", "\\c"})
    Scheme(kDomains + leaf, "http");
  EXPECT_TRUE(DeleteSubkeyTree(registry_, reg::kCurrentUser, kDomains));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kDomains));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap"));
  EXPECT_FALSE(DeleteSubkeyTree(registry_, reg::kCurrentUser, kDomains));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, ReadOnlySubkeyStopsItsParentsDeletion) {
  Scheme(kDomains + "\\a.com\\www", "http");
  Scheme(kDomains + "\\b.com", "http");
  Scheme(kDomains + "\\c.com", "http");
  registry_.MarkReadOnly("HKEY_CURRENT_USER\\" + kDomains + "\\b.com");
  EXPECT_FALSE(DeleteSubkeyTree(registry_, reg::kCurrentUser, kDomains));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kDomains + "\\a.com"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + "\\b.com"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kDomains + "\\c.com"));  // never reached
}

TEST_F(ZoneMap, ReadOnlyLeafIsTriedTwiceAndReportsFalse) {
  MakeKey("Software\\Locked");
  registry_.MarkReadOnly("HKEY_CURRENT_USER\\Software\\Locked");
  registry_.ClearJournal();
  EXPECT_FALSE(DeleteSubkeyTree(registry_, reg::kCurrentUser, "Software\\Locked"));
  int deletes = 0;
  for (const RegCall& call : registry_.journal()) deletes += call.op == RegOp::kDeleteKey;
  EXPECT_EQ(deletes, 2);
}

TEST_F(ZoneMap, DeepTreeIsDeletedWithoutExhaustingTheStack) {
  HKey key = 0;
  ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, "Software\\Deep", &key), reg::kSuccess);
  for (int level = 0; level < 512; ++level) {
    HKey child = 0;
    ASSERT_EQ(registry_.CreateKey(key, "d", &child), reg::kSuccess);
    registry_.CloseKey(key);
    key = child;
  }
  registry_.CloseKey(key);
  EXPECT_TRUE(DeleteSubkeyTree(registry_, reg::kCurrentUser, "Software\\Deep"));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, "Software\\Deep"));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ZoneMap, TenThousandDomainsReadInRegistryOrder) {
  registry_.set_journaling(false);
  for (int i = 0; i < 10000; ++i) Scheme(kDomains + "\\site" + std::to_string(100000 + i) + ".example\\www", "http");
  const auto items = Domains();
  ASSERT_EQ(items.size(), 10000u);
  EXPECT_EQ(items.front(), L"http://www.site100000.example");
  EXPECT_EQ(items.back(), L"http://www.site109999.example");
  EXPECT_TRUE(DeleteSubkeyTree(registry_, reg::kCurrentUser, kDomains));
}

}  // namespace
}  // namespace kelpo::testing
