// The zone-map readers and the tree deletion over each adapter.
#include <gtest/gtest.h>

#include "contract/env/registry_env.h"
#include "platform/sim/sim_desktop.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_key.h"
#include "registry/registry_reader.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo::testing {
namespace {

class ZoneMapContract : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = MakeRegistryEnv();
    writer_ = std::make_unique<PolicyWriter>(env_->registry(), env_->codec(), desktop_);
    zone_map_ = std::make_unique<ZoneMapReader>(env_->registry(), env_->codec(), desktop_);
  }
  void TearDown() override {
    zone_map_.reset();
    writer_.reset();
    env_.reset();
  }
  void Write(const std::wstring& key, const std::wstring& setting) { writer_->Write(reg::kCurrentUser, key, setting); }
  bool Exists(std::wstring_view key) {
    return RegistryReader(env_->registry(), env_->codec(), desktop_).KeyExists(reg::kCurrentUser, key);
  }

  std::unique_ptr<RegistryEnv> env_;
  SimDesktop desktop_;
  std::unique_ptr<PolicyWriter> writer_;
  std::unique_ptr<ZoneMapReader> zone_map_;
};

TEST_F(ZoneMapContract, WrittenSitesReadBackAsItems) {
  const std::wstring domains = std::wstring(keys::kDomains) + L"\\";
  const std::wstring ranges = std::wstring(keys::kRanges) + L"\\";
  Write(domains + L"example.com\\www", L"http");
  Write(domains + L"example.com\\mail", L"https");
  Write(domains + L"intranet", L"*");
  Write(ranges + L"Range1", L"http");
  Write(ranges + L"Range1", L"192.168.1.20");
  Write(ranges + L"Range2", L"https");
  Write(ranges + L"Range2", L"192.168.100.100");
  EXPECT_EQ(zone_map_->TrustedDomains(),
            (std::vector<std::wstring>{L"https://mail.example.com", L"http://www.example.com", L"intranet"}));
  EXPECT_EQ(zone_map_->TrustedRanges(), (std::vector<std::wstring>{L"http://192.168.1.20", L"https://192.168.100.100"}));
  const RangeSearch search = zone_map_->FindRange(keys::kRanges, L"https://192.168.100.100");
  EXPECT_TRUE(search.found);
  EXPECT_EQ(search.keys_visited, 2);
}

TEST_F(ZoneMapContract, TreeDeletionRemovesEveryLevel) {
  const std::wstring domains = std::wstring(keys::kDomains) + L"\\";
  for (const wchar_t* key : {L"a.com\\www", L"a.com\\mail", L"b.com\\x\\y\\z", L"c"}) Write(domains + key, L"http");
  Registry& registry = env_->registry();
  EXPECT_EQ(DeleteRegistryTree(registry, reg::kCurrentUser, env_->codec().ToAnsi(keys::kDomains)), reg::kSuccess);
  EXPECT_FALSE(Exists(keys::kDomains));
  EXPECT_TRUE(Exists(L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap"));
  EXPECT_EQ(DeleteRegistryTree(registry, reg::kCurrentUser, env_->codec().ToAnsi(keys::kDomains)), reg::kFileNotFound);
}

}  // namespace
}  // namespace kelpo::testing
