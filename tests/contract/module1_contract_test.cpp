// The registry procedures over each adapter: what the program writes reads back the same.
#include <gtest/gtest.h>

#include "contract/env/registry_env.h"
#include "platform/sim/sim_desktop.h"
#include "registry/module1.h"

namespace kelpo::testing {
namespace {

class Module1Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = MakeRegistryEnv();
    module_ = std::make_unique<Module1>(env_->registry(), env_->codec(), desktop_);
  }
  void TearDown() override {
    module_.reset();
    env_.reset();
  }
  Module1& m() { return *module_; }

  std::unique_ptr<RegistryEnv> env_;
  SimDesktop desktop_;
  std::unique_ptr<Module1> module_;
};

const wchar_t* const kUser = L"HKEY_CURRENT_USER";

TEST_F(Module1Contract, PolicyValuesReadBack) {
  const std::wstring zone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
  for (const wchar_t* setting : {L"Flags", L"CurrentLevel", L"120B", L"1409"}) m().SetRegEntry(kUser, zone, setting);
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, zone, L"Flags"), L"67");
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, zone, L"CurrentLevel"), L"65536");
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, zone, L"120B"), L"3");
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, zone, L"1409"), L"0");
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(Module1Contract, AddOnSwitchesReadBack) {
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\{1234}";
  m().SetRegEntry(kUser, key, L"Flags1");
  m().SetRegEntry(kUser, key, L"Version");
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, key, L"Flags"), L"1");
  std::int32_t type = 0;
  // One byte without a zero: whatever the reader adds, the text is the asterisk.
  EXPECT_EQ(CutAtZero(m().GetRegEntry(kUser, key, L"Version", type)), L"*");
  EXPECT_EQ(type, 1);
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, key, L"Flags1"), L"");
}

TEST_F(Module1Contract, ZoneMapEntriesReadBack) {
  const std::wstring domains = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\";
  const std::wstring ranges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges\\";
  m().SetRegEntry(kUser, domains + L"example.com\\www", L"http");
  m().SetRegEntry(kUser, domains + L"example.com\\www", L"https");
  m().SetRegEntry(kUser, domains + L"intranet", L"*");
  m().SetRegEntry(kUser, ranges + L"Range1", L"https");
  m().SetRegEntry(kUser, ranges + L"Range1", L"192.168.100.100");
  EXPECT_EQ(m().GetRegValueName(kUser, domains + L"example.com\\www"), L"https");
  EXPECT_EQ(m().GetRegValueName(kUser, domains + L"intranet"), L"*");
  EXPECT_EQ(m().ScanRegValues(kUser, ranges + L"Range1", L"Ranges"), L"https");
  std::int32_t type = 0;
  EXPECT_EQ(CutAtZero(m().GetRegEntry(kUser, ranges + L"Range1", L":Range", type)), L"192.168.100.100");
  EXPECT_TRUE(m().RegKeyExists(kUser, domains + L"intranet"));
  EXPECT_FALSE(m().RegKeyExists(kUser, domains + L"nowhere"));
}

TEST_F(Module1Contract, StringReadsKeepTheirTerminatingZero) {
  m().SetRegEntry(kUser, L"Software\\Google\\Google Toolbar\\4.0\\Options", L"|a.com|b.com|");
  std::int32_t type = 0;
  EXPECT_EQ(m().GetRegEntry(kUser, L"Software\\Google\\Google Toolbar\\4.0\\Options", L"PopupBlockerWhitelist", type),
            std::wstring(L"|a.com|b.com|\0", 14));
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, L"Software\\Google\\Google Toolbar\\4.0\\Options", L"PopupBlockerWhitelist"),
            L"|a.com|b.com|");
}

TEST_F(Module1Contract, AWhitelistCutToItsLimitReadsBackAsStored) {
  const std::wstring options = L"Software\\Google\\Google Toolbar\\4.0\\Options";
  const std::wstring list = L"|" + std::wstring(11998, L'w') + L"|";
  m().SetRegEntry(kUser, options, list);
  EXPECT_EQ(m().ReadRegValue(reg::kCurrentUser, options, L"PopupBlockerWhitelist"), list.substr(0, 10000));
}

TEST_F(Module1Contract, ToolbarNamesAreFoundInClassKeys) {
  m().SetRegEntry(kUser, L"Software\\Classes\\CLSID\\{T}", L"http");
  m().SetRegEntry(kUser, L"Software\\Baidu\\BaiduBar\\WhiteList", L"*x*");
  EXPECT_EQ(m().ScanRegValues(kUser, L"Software\\Baidu\\BaiduBar\\WhiteList", L"GetData"), L"");
  EXPECT_EQ(m().ScanRegValues(kUser, L"Software\\Nowhere", L"GetData"), L"");
}

}  // namespace
}  // namespace kelpo::testing
