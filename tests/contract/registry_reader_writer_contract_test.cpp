// The policy writer and the registry reader over each adapter: what the program writes reads back
// the same.
#include <gtest/gtest.h>

#include "contract/env/registry_env.h"
#include "platform/sim/sim_desktop.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "text/strings.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo::testing {
namespace {

class ReaderWriterContract : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = MakeRegistryEnv();
    reader_ = std::make_unique<RegistryReader>(env_->registry(), env_->codec(), desktop_);
    writer_ = std::make_unique<PolicyWriter>(env_->registry(), env_->codec(), desktop_);
  }
  void TearDown() override {
    writer_.reset();
    reader_.reset();
    env_.reset();
  }
  void Write(const std::wstring& key, std::wstring_view setting) { writer_->Write(reg::kCurrentUser, key, setting); }
  std::wstring Read(const std::wstring& key, std::wstring_view name) { return reader_->ReadText(reg::kCurrentUser, key, name); }
  StoredText Stored(const std::wstring& key, std::wstring_view name) {
    return reader_->ReadStoredText(reg::kCurrentUser, key, name);
  }
  // The name of the key's last value, as the enumeration gives them.
  std::wstring LastValueName(const std::wstring& key) {
    const std::vector<ListedValue> values = reader_->ListValues(reg::kCurrentUser, key);
    return values.empty() ? L"" : env_->codec().FromAnsi(values.back().name);
  }

  std::unique_ptr<RegistryEnv> env_;
  SimDesktop desktop_;
  std::unique_ptr<RegistryReader> reader_;
  std::unique_ptr<PolicyWriter> writer_;
};

TEST_F(ReaderWriterContract, PolicyValuesReadBack) {
  const std::wstring zone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
  for (const wchar_t* setting : {L"Flags", L"CurrentLevel", L"120B", L"1409"}) Write(zone, setting);
  EXPECT_EQ(Read(zone, L"Flags"), L"67");
  EXPECT_EQ(Read(zone, L"CurrentLevel"), L"65536");
  EXPECT_EQ(std::get<std::int32_t>(reader_->ReadValue(reg::kCurrentUser, zone, L"CurrentLevel")), 0x10000);
  EXPECT_EQ(Read(zone, L"120B"), L"3");
  EXPECT_EQ(Read(zone, L"1409"), L"0");
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(ReaderWriterContract, AddOnSwitchesReadBack) {
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\{1234}";
  writer_->DisableAddOn(key);
  EXPECT_EQ(Read(key, L"Flags"), L"1");
  // One byte without a zero: whatever the reader adds, the text is the asterisk.
  const StoredText version = Stored(key, L"Version");
  EXPECT_EQ(CutAtZero(version.text), L"*");
  EXPECT_EQ(version.type, 1);
  EXPECT_EQ(Read(key, L"Flags1"), L"");
}

TEST_F(ReaderWriterContract, ZoneMapEntriesReadBack) {
  const std::wstring domains = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\";
  const std::wstring ranges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges\\";
  writer_->WriteZoneScheme(domains + L"example.com\\www", L"http");
  writer_->WriteZoneScheme(domains + L"example.com\\www", L"https");
  writer_->WriteZoneScheme(domains + L"intranet", L"*");
  writer_->WriteZoneScheme(ranges + L"Range1", L"https");
  writer_->WriteRangeAddress(ranges + L"Range1", L"192.168.100.100");
  EXPECT_EQ(LastValueName(domains + L"example.com\\www"), L"https");
  EXPECT_EQ(LastValueName(domains + L"intranet"), L"*");
  // The range's scheme is its value other than ":Range", whichever order the values list in.
  EXPECT_TRUE(ZoneMapReader(env_->registry(), env_->codec(), desktop_).FindRange(keys::kRanges, L"https://192.168.100.100").found);
  EXPECT_EQ(CutAtZero(Stored(ranges + L"Range1", L":Range").text), L"192.168.100.100");
  EXPECT_TRUE(reader_->KeyExists(reg::kCurrentUser, domains + L"intranet"));
  EXPECT_FALSE(reader_->KeyExists(reg::kCurrentUser, domains + L"nowhere"));
  EXPECT_TRUE(reader_->KeyMissing(reg::kCurrentUser, domains + L"nowhere"));
}

TEST_F(ReaderWriterContract, StringReadsKeepTheirTerminatingZero) {
  writer_->WriteGoogleWhitelist(L"|a.com|b.com|");
  EXPECT_EQ(Stored(L"Software\\Google\\Google Toolbar\\4.0\\Options", L"PopupBlockerWhitelist").text,
            std::wstring(L"|a.com|b.com|\0", 14));
  EXPECT_EQ(Read(L"Software\\Google\\Google Toolbar\\4.0\\Options", L"PopupBlockerWhitelist"), L"|a.com|b.com|");
}

TEST_F(ReaderWriterContract, AWhitelistCutToItsLimitReadsBackAsStored) {
  const std::wstring options = L"Software\\Google\\Google Toolbar\\4.0\\Options";
  const std::wstring list = L"|" + std::wstring(11998, L'w') + L"|";
  writer_->WriteGoogleWhitelist(list);
  EXPECT_EQ(Read(options, L"PopupBlockerWhitelist"), list.substr(0, 10000));
}

TEST_F(ReaderWriterContract, ValueListsGiveNamesAndDataAsWritten) {
  Write(L"Software\\Classes\\CLSID\\{T}", L"http");
  writer_->WriteBaiduPattern(L"*x*");
  const std::vector<ListedValue> baidu = reader_->ListValues(reg::kCurrentUser, L"Software\\Baidu\\BaiduBar\\WhiteList");
  ASSERT_EQ(baidu.size(), 1u);
  EXPECT_EQ(baidu[0].name, "*x*");
  EXPECT_TRUE(baidu[0].HoldsDword(0));
  EXPECT_TRUE(reader_->ListValues(reg::kCurrentUser, L"Software\\Nowhere").empty());
}

}  // namespace
}  // namespace kelpo::testing
