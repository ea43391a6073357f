// The zone-map readers and the tree deletion over each adapter.
#include <gtest/gtest.h>

#include "contract/env/registry_env.h"
#include "engine/engine_keys.h"
#include "platform/sim/sim_desktop.h"
#include "registry/module1.h"
#include "sites/zone_map.h"

namespace kelpo::testing {
namespace {

class ZoneMapContract : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = MakeRegistryEnv();
    module_ = std::make_unique<Module1>(env_->registry(), env_->codec(), desktop_);
    reader_ = std::make_unique<ZoneMapReader>(env_->registry(), env_->codec(), *module_);
  }
  void TearDown() override {
    reader_.reset();
    module_.reset();
    env_.reset();
  }
  void Write(const std::wstring& key, const std::wstring& setting) { module_->SetRegEntry(L"HKEY_CURRENT_USER", key, setting); }

  std::unique_ptr<RegistryEnv> env_;
  SimDesktop desktop_;
  std::unique_ptr<Module1> module_;
  std::unique_ptr<ZoneMapReader> reader_;
};

TEST_F(ZoneMapContract, WrittenSitesReadBackAsItems) {
  const std::wstring domains = keys::kDomainsPath;
  const std::wstring ranges = keys::kRangesPath;
  Write(domains + L"example.com\\www", L"http");
  Write(domains + L"example.com\\mail", L"https");
  Write(domains + L"intranet", L"*");
  Write(ranges + L"Range1", L"http");
  Write(ranges + L"Range1", L"192.168.1.20");
  Write(ranges + L"Range2", L"https");
  Write(ranges + L"Range2", L"192.168.100.100");
  std::vector<std::wstring> items;
  reader_->FindDomainsKeys(reg::kCurrentUser, keys::kDomainsRoot, items);
  reader_->FindRangesKeys(reg::kCurrentUser, keys::kRangesRoot, items);
  EXPECT_EQ(items, (std::vector<std::wstring>{L"https://mail.example.com", L"http://www.example.com", L"intranet",
                                             L"http://192.168.1.20", L"https://192.168.100.100"}));
  std::int32_t count = 0;
  EXPECT_TRUE(reader_->FindRangeItem(reg::kCurrentUser, keys::kRangesRoot, keys::kRangesPath,
                                     L"https://192.168.100.100", count));
  EXPECT_EQ(count, 2);
}

TEST_F(ZoneMapContract, TreeDeletionRemovesEveryLevel) {
  const std::wstring domains = keys::kDomainsPath;
  for (const wchar_t* key : {L"a.com\\www", L"a.com\\mail", L"b.com\\x\\y\\z", L"c"}) Write(domains + key, L"http");
  Registry& registry = env_->registry();
  EXPECT_TRUE(DeleteSubkeyTree(registry, reg::kCurrentUser, env_->codec().ToAnsi(keys::kDomainsRoot)));
  EXPECT_FALSE(module_->RegKeyExists(L"HKEY_CURRENT_USER", keys::kDomainsRoot));
  EXPECT_TRUE(module_->RegKeyExists(L"HKEY_CURRENT_USER",
                                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap"));
  EXPECT_FALSE(DeleteSubkeyTree(registry, reg::kCurrentUser, env_->codec().ToAnsi(keys::kDomainsRoot)));
}

}  // namespace
}  // namespace kelpo::testing
