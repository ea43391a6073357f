// The policy writer: from a setting name alone, which value is written with which type and data.
#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "support/gbk_codec.h"
#include "unit/registry/registry_fixture.h"

namespace kelpo::testing {
namespace {

const std::string kKey = "Software\\Kelpo\\Policy";
constexpr auto kSz = reg::kRegSz;
constexpr auto kDw = reg::kRegDword;

struct Row {
  std::wstring setting;
  std::vector<StoredValue> expected;
};

void PrintTo(const Row& row, std::ostream* out) { *out << ::testing::PrintToString(row.setting); }

class PolicyTable : public RegistryTest, public ::testing::WithParamInterface<Row> {};

TEST_P(PolicyTable, WritesExactlyTheValueTheSettingCallsFor) {
  writer_.Write(reg::kCurrentUser, L"Software\\Kelpo\\Policy", GetParam().setting);
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kKey));
  EXPECT_EQ(UserValues(kKey), GetParam().expected);
  EXPECT_EQ(registry_.open_handle_count(), 0u);
  EXPECT_TRUE(desktop_.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PolicyTable,
    ::testing::Values(
        Row{L"PopupMgr", {{"PopupMgr", kDw, Dword(0)}}},
        Row{L"PopupsUseNewWindow", {{"PopupsUseNewWindow", kDw, Dword(0)}}},
        Row{L"Flags", {{"Flags", kDw, Dword(0x43)}}},
        Row{L"CurrentLevel", {{"CurrentLevel", kDw, Dword(0x10000)}}},
        Row{L"Flags1", {{"Flags", kDw, Dword(1)}}},
        Row{L"Version", {{"Version", kSz, "*"}}},
        Row{L"*", {{"*", kDw, Dword(2)}}},
        Row{L"ButtonPopupKiller", {{"ButtonPopupKiller", kDw, Dword(0)}}},
        Row{L"120B", {{"120B", kDw, Dword(3)}}},
        Row{L"1409", {{"1409", kDw, Dword(0)}}}));

INSTANTIATE_TEST_SUITE_P(
    PatternRules, PolicyTable,
    ::testing::Values(
        // rule 1: an asterisk anywhere
        Row{L"*www.example.com*", {{"*www.example.com*", kDw, Dword(0)}}},
        Row{L"*http", {{"*http", kDw, Dword(0)}}},
        // rule 2: begins with "http", case-sensitive
        Row{L"http", {{"http", kDw, Dword(2)}}},
        Row{L"https", {{"https", kDw, Dword(2)}}},
        Row{L"HTTPS", {}},
        Row{L"htt", {}},
        // rules 1 and 2 both: 0 then 2, ending as 2
        Row{L"http*", {{"http*", kDw, Dword(2)}}},
        // rule 3: four numeric parts; the text and its zero, at most 15 bytes
        Row{L"10.0.0.1", {{":Range", kSz, std::string("10.0.0.1\0", 9)}}},
        Row{L"192.168.0.10", {{":Range", kSz, std::string("192.168.0.10\0", 13)}}},
        Row{L"192.168.10.10", {{":Range", kSz, std::string("192.168.10.10\0", 14)}}},
        Row{L"192.168.100.100", {{":Range", kSz, "192.168.100.100"}}},
        Row{L"1000.2000.3000.4000", {{":Range", kSz, "1000.2000.3000."}}},
        Row{L" 1 .+2. -3 .4 ", {{":Range", kSz, std::string(" 1 .+2. -3 .4 \0", 15)}}},
        Row{L"1.2.3", {}},
        Row{L"1.2.3.4.5", {}},
        Row{L"1..2.3", {}},
        Row{L"1.2.3.", {}},
        Row{L"1.2.3.x", {}},
        Row{L"1.2.3.+", {}},
        Row{L"1.2.3.4 5", {}},
        Row{L"mail.abc.example.com", {}},
        // rule 4: a leading bar
        Row{L"|a.com|b.com|", {{"PopupBlockerWhitelist", kSz, std::string("|a.com|b.com|\0", 14)}}},
        Row{L"a|b", {}},
        // nothing matches: the key alone
        Row{L"intranet", {}},
        Row{L"", {}}));

TEST_F(RegistryTest, HttpWithAsteriskIsWrittenTwiceFirstZeroThenTwo) {
  writer_.Write(reg::kCurrentUser, L"Software\\K", L"http*");
  std::vector<std::string> writes;
  for (const RegCall& call : registry_.journal())
    if (call.op == RegOp::kSetValue) writes.push_back(call.value + "=" + std::to_string(call.data[0]));
  EXPECT_EQ(writes, (std::vector<std::string>{"http*=0", "http*=2"}));
}

TEST_F(RegistryTest, WhiteListTextIsCutAtTenThousandBytes) {
  const std::wstring text = L"|" + std::wstring(10500, L'a') + L"|";
  writer_.Write(reg::kCurrentUser, L"Software\\Google\\Google Toolbar\\4.0\\Options", text);
  const auto values = UserValues("Software\\Google\\Google Toolbar\\4.0\\Options");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].data, "|" + std::string(9999, 'a'));
  writer_.Write(reg::kCurrentUser, L"Software\\Google\\Google Toolbar\\4.0\\Options",
                      L"|" + std::wstring(9998, L'a'));  // 9999 bytes and the zero: whole
  EXPECT_EQ(UserValues("Software\\Google\\Google Toolbar\\4.0\\Options")[0].data,
            "|" + std::string(9998, 'a') + '\0');
}

TEST_F(RegistryTest, ARootTheRegistryDoesNotKnowWritesNothingAndShowsNothing) {
  for (const HKey root : {HKey{0}, HKey{0x80000010}, HKey{0x4242}}) writer_.Write(root, L"Software\\K", L"PopupMgr");
  for (const RegCall& call : registry_.journal()) EXPECT_NE(call.op, RegOp::kSetValue);
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(RegistryTest, TheIntentNamedEntryPointsGoThroughTheSameTable) {
  writer_.WriteZoneScheme(L"Software\\Z\\a", L"http");
  writer_.WriteZoneScheme(L"Software\\Z\\b", L"*");
  writer_.WriteRangeAddress(L"Software\\Z\\r", L"10.0.0.1");
  writer_.WriteRangeAddress(L"Software\\Z\\s", L"1.2.3.x");  // not an address: nothing
  writer_.WriteBaiduPattern(L"*http*");  // an asterisk and no leading "http": the DWORD 0
  writer_.WriteGoogleWhitelist(L"|a*|");  // a bar, and an asterisk too: both rules
  writer_.DisableAddOn(L"Software\\Z\\addon");
  EXPECT_EQ(UserValues("Software\\Z\\a"), (std::vector<StoredValue>{{"http", kDw, Dword(2)}}));
  EXPECT_EQ(UserValues("Software\\Z\\b"), (std::vector<StoredValue>{{"*", kDw, Dword(2)}}));
  EXPECT_EQ(UserValues("Software\\Z\\r"), (std::vector<StoredValue>{{":Range", kSz, std::string("10.0.0.1\0", 9)}}));
  EXPECT_TRUE(UserValues("Software\\Z\\s").empty());
  EXPECT_EQ(UserValues("Software\\Baidu\\BaiduBar\\WhiteList"), (std::vector<StoredValue>{{"*http*", kDw, Dword(0)}}));
  EXPECT_EQ(UserValues("Software\\Google\\Google Toolbar\\4.0\\Options"),
            (std::vector<StoredValue>{{"|a*|", kDw, Dword(0)}, {"PopupBlockerWhitelist", kSz, std::string("|a*|\0", 5)}}));
  EXPECT_EQ(UserValues("Software\\Z\\addon"), (std::vector<StoredValue>{{"Flags", kDw, Dword(1)}, {"Version", kSz, "*"}}));
}

TEST_F(RegistryTest, KeyThatCannotBeCreatedWritesNothingAndShowsNothing) {
  registry_.InjectFault({RegOp::kCreateKey, "", 5});
  writer_.Write(reg::kCurrentUser, L"Software\\K", L"PopupMgr");
  for (const RegCall& call : registry_.journal()) EXPECT_NE(call.op, RegOp::kSetValue);
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(RegistryTest, TrappedErrorShowsTheBoxAndClosesTheKey) {
  registry_.InjectFault({RegOp::kSetValue, "", 9, true});
  writer_.Write(reg::kCurrentUser, L"Software\\K", L"Flags");
  ASSERT_EQ(desktop_.messages().size(), 1u);
  EXPECT_EQ(desktop_.messages()[0].title, L"GenUtils/GetRegEntry");
  EXPECT_EQ(desktop_.messages()[0].flags, 0x10u);
  EXPECT_EQ(desktop_.messages()[0].text.rfind(L"9>  ", 0), 0u) << desktop_.messages()[0].text.size();
  EXPECT_GT(desktop_.messages()[0].text.size(), 4u);
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryTest, WritesBelowWhateverRootIsNamed) {
  writer_.Write(reg::kLocalMachine, L"SOFTWARE\\K", L"1409");
  EXPECT_EQ(Values(reg::kLocalMachine, "SOFTWARE\\K"), (std::vector<StoredValue>{{"1409", kDw, Dword(0)}}));
}

// Keys held open across writes must leave the registry as opening each key from the root does.
struct Write {
  HKey root;
  std::wstring path;
  std::wstring setting;
};

struct PolicyRun {
  explicit PolicyRun(bool hold) : hold(hold) {}
  // Writes them all, holding keys open or not; `after` runs after each call of the registry.
  void WriteAll(const std::vector<Write>& writes, const std::function<void(SimRegistry&, const RegCall&)>& after = {}) {
    if (after) registry.set_after_call([&](const RegCall& call) { after(registry, call); });
    if (hold) writer.HoldKeysOpen();
    for (const Write& write : writes) writer.Write(write.root, write.path, write.setting);
    if (hold) writer.CloseHeldKeys();
    registry.set_after_call({});
  }
  // Every key below root\path and its values, in the registry's order.
  std::vector<std::string> Tree(HKey root, const std::string& path) {
    std::vector<std::string> lines;
    HKey key = 0;
    if (registry.OpenKey(root, path, &key) != reg::kSuccess) return lines;
    lines.push_back(path);
    for (std::uint32_t i = 0;; ++i) {
      std::vector<char> name(300);
      std::vector<std::uint8_t> data(20000);
      std::uint32_t name_size = 300, data_size = 20000, type = 0;
      if (registry.EnumValue(key, i, name.data(), &name_size, &type, data.data(), &data_size) != reg::kSuccess) break;
      lines.push_back("  " + std::string(name.data(), name_size) + " " + std::to_string(type) + " " +
                      std::string(reinterpret_cast<char*>(data.data()), data_size));
    }
    std::vector<std::string> subkeys;
    for (std::uint32_t i = 0;; ++i) {
      std::array<char, 300> name{};
      std::uint32_t size = 300;
      if (registry.EnumKeyEx(key, i, name.data(), &size) != reg::kSuccess) break;
      subkeys.emplace_back(name.data(), size);
    }
    registry.CloseKey(key);
    for (const std::string& subkey : subkeys)
      for (std::string& line : Tree(root, path + "\\" + subkey)) lines.push_back(std::move(line));
    return lines;
  }

  bool hold;
  SimRegistry registry;
  Utf8Codec codec;
  SimDesktop desktop;
  PolicyWriter writer{registry, codec, desktop};
};

void ExpectSameAsFromTheRoot(const std::vector<Write>& writes,
                             const std::function<void(SimRegistry&, const RegCall&)>& after = {}) {
  PolicyRun held(true), from_root(false);
  held.WriteAll(writes, after);
  from_root.WriteAll(writes, after);
  for (const auto& [root, path] : {std::pair{reg::kCurrentUser, std::string("Software")},
                                   std::pair{reg::kLocalMachine, std::string("SOFTWARE")}})
    EXPECT_EQ(held.Tree(root, path), from_root.Tree(root, path));
  EXPECT_EQ(held.desktop.messages().size(), from_root.desktop.messages().size());
  EXPECT_EQ(held.registry.open_handle_count(), 0u);
}

TEST(HeldKeys, WriteWhatOpeningEachKeyFromTheRootWrites) {
  const HKey user = reg::kCurrentUser;
  const std::wstring long_name(250, L'n');
  ExpectSameAsFromTheRoot({
      {user, L"Software\\Z\\WhiteList", L"*a.example.com*"},
      {user, L"Software\\Z\\WhiteList", L"*b.example.com*"},
      {user, L"Software\\Z\\Domains\\example.com\\www", L"http"},  // two new levels below a new key
      {user, L"Software\\Z\\Domains\\example.com", L"https"},
      {user, L"Software\\Z\\Domains\\EXAMPLE.com\\www", L"https"},  // the same key, spelt otherwise
      {user, L"Software\\Z\\Domains\\\\intranet", L"*"},              // an empty step
      {user, L"Software\\Z\\Domains\\", L"http"},                     // a separator at the end
      {user, L"\\Software\\Z\\Lead", L"http"},                        // refused whole
      {user, L"Software\\Z\\" + long_name + L"\\" + long_name, L"http"},  // too long for the ANSI calls
      {user, L"Software\\Z\\Ranges\\Range1", L"http"},
      {user, L"Software\\Z\\Ranges\\Range1", L"10.0.0.1"},
      {user, L"Software\\Z\\Nothing", L"intranet"},  // writes no value: the key alone
      {user, L"", L"http"},                          // the root itself
      {user, L"Software\\Z\\Addon", L"Flags1"},
      {user, L"Software\\Z\\Addon", L"Version"},
      {reg::kLocalMachine, L"SOFTWARE\\Z\\WhiteList", L"*c.example.com*"},
      {user, L"Software\\Z\\WhiteList", L"http*"},
  });
}

TEST(HeldKeys, AKeyThatVanishesBetweenTwoWritesIsWrittenAgainFromTheRoot) {
  const std::vector<Write> writes = {
      {reg::kCurrentUser, L"Software\\Z\\Domains\\a.example.com", L"http"},
      {reg::kCurrentUser, L"Software\\Z\\Domains\\a.example.com", L"https"},  // its own key is gone
      {reg::kCurrentUser, L"Software\\Z\\Domains\\b.example.com\\www", L"http"},
      {reg::kCurrentUser, L"Software\\Z\\Domains\\c.example.com", L"http"},  // the key above is gone
  };
  // Another program removes Domains, with all below it, after the first and after the third value.
  const auto remove_domains = [](SimRegistry& registry, const RegCall& call) {
    if (call.op != RegOp::kSetValue || call.status != reg::kSuccess) return;
    const auto sets = std::count_if(registry.journal().begin(), registry.journal().end(), [](const RegCall& c) {
      return c.op == RegOp::kSetValue && c.status == reg::kSuccess;
    });
    if (sets == 1 || sets == 3) registry.RemoveTree("HKEY_CURRENT_USER\\Software\\Z\\Domains");
  };
  ExpectSameAsFromTheRoot(writes, remove_domains);
  PolicyRun held(true);
  held.WriteAll(writes, remove_domains);
  EXPECT_EQ(held.Tree(reg::kCurrentUser, "Software\\Z"),
            (std::vector<std::string>{"Software\\Z", "Software\\Z\\Domains", "Software\\Z\\Domains\\c.example.com",
                                      "  http 4 " + Dword(2)}));
}

// A call made both ways fails alike. (A held key spares its second write the create: that call
// is not made, so it cannot fail.)
TEST(HeldKeys, AFailingCallIsTheWritesOwnAndTheNextWriteGoesOn) {
  for (const auto& [op, occurrence] : {std::pair{RegOp::kCreateKey, 0}, {RegOp::kSetValue, 0}, {RegOp::kSetValue, 1}}) {
    for (const bool throws : {false, true}) {
      SCOPED_TRACE(std::string(RegOpName(op)) + " #" + std::to_string(occurrence) + (throws ? " throws" : " fails"));
      const std::vector<Write> writes = {
          {reg::kCurrentUser, L"Software\\Z\\Domains\\a", L"http"},
          {reg::kCurrentUser, L"Software\\Z\\Domains\\b\\www", L"http"},
          {reg::kCurrentUser, L"Software\\Z\\Domains\\b\\www", L"https"},
          {reg::kCurrentUser, L"Software\\Z\\Domains\\c", L"http"},
      };
      {
        PolicyRun held(true), from_root(false);
        for (PolicyRun* run : {&held, &from_root}) {
          // The n-th call of its kind on b\www, the key that two writes name.
          run->registry.InjectFault({op, "HKEY_CURRENT_USER\\Software\\Z\\Domains\\b\\www", 1450, throws, occurrence, 1});
          run->WriteAll(writes);
        }
        EXPECT_EQ(held.Tree(reg::kCurrentUser, "Software"), from_root.Tree(reg::kCurrentUser, "Software"));
        EXPECT_EQ(held.desktop.messages().size(), from_root.desktop.messages().size());
        EXPECT_EQ(held.registry.open_handle_count(), 0u);
      }
    }
  }
}

class GbkPolicyWriter : public RegistryTest {
 protected:
  GbkPolicyWriter() : RegistryTest(gbk_.get()) {}
  static inline std::unique_ptr<TextCodec> gbk_ = MakeGbkCodec();
};

TEST_F(GbkPolicyWriter, ByteLimitsCountAnsiBytes) {
  // 1 + 2 * 5000 bytes: cut to 10000 bytes, in the middle of the last character.
  const std::wstring text = L"|" + std::wstring(5000, L'站');
  writer_.Write(reg::kCurrentUser, L"Software\\G", text);
  const auto values = UserValues("Software\\G");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].data.size(), 10000u);
  EXPECT_EQ(values[0].data.substr(1, 2), gbk_->ToAnsi(L"站"));
}

TEST_F(GbkPolicyWriter, ChineseSettingNamesBecomeGbkValueNames) {
  writer_.Write(reg::kCurrentUser, L"Software\\Baidu\\BaiduBar\\WhiteList", L"*中文.example.com*");
  const auto values = UserValues("Software\\Baidu\\BaiduBar\\WhiteList");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, gbk_->ToAnsi(L"*中文.example.com*"));
  EXPECT_EQ(values[0].name.size(), 18u);  // two bytes for each Chinese character
}

}  // namespace
}  // namespace kelpo::testing
