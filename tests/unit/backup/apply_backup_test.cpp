// The backup step as an apply calls it: the script it imports read from its file, the backup
// built and saved; and each way it can fail, reported rather than thrown.
#include <gtest/gtest.h>

#include "backup/apply_backup.h"
#include "backup/registry_script_reader.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_platform.h"

namespace kelpo {
namespace {

class ApplyBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKey key = 0;
    ASSERT_EQ(sim_.registry.CreateKey(reg::kCurrentUser, "Software\\Baidu\\BaiduBar\\WhiteList", &key), reg::kSuccess);
    sim_.registry.CloseKey(key);
    sim_.files.PutCompanion(L"TrustedSites.reg",
                            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\FromScript]\r\n\"v\"=dword:00000001\r\n");
  }

  BackupOutcome BackUp() {
    ApplyChanges changes;
    changes.replaced_trees = {{reg::kCurrentUser, L"Software\\Baidu\\BaiduBar\\WhiteList"}};
    return BackUpBeforeApply(ports_, changes, script_);
  }

  // The keys the saved backup names, in order, "-" before a removed one.
  std::vector<std::wstring> SavedKeys(const BackupOutcome& outcome) {
    std::vector<std::wstring> keys;
    const std::optional<std::string> bytes = sim_.files.BytesOf(outcome.saved.path);
    if (!bytes) return keys;
    for (const ScriptKey& key : ReadRegistryScript(*bytes, sim_.codec).script.keys)
      keys.push_back((key.remove ? L"-" : L"") + key.path);
    return keys;
  }

  SimPlatform sim_;
  SimClock clock_;
  BackupPorts ports_{sim_.registry, sim_.files, clock_, sim_.codec};
  std::wstring script_ = std::wstring(kSimProgramFolder) + L"\\TrustedSites.reg";
};

TEST_F(ApplyBackupTest, BacksUpTheTreesAndWhatTheScriptWrites) {
  const BackupOutcome outcome = BackUp();
  ASSERT_TRUE(outcome.saved.saved) << outcome.saved.failure.size();
  EXPECT_TRUE(outcome.notes.empty());
  EXPECT_EQ(SavedKeys(outcome), (std::vector<std::wstring>{L"-HKEY_CURRENT_USER\\Software\\Baidu\\BaiduBar\\WhiteList",
                                                           L"HKEY_CURRENT_USER\\Software\\Baidu\\BaiduBar\\WhiteList",
                                                           L"-HKEY_CURRENT_USER\\Software\\FromScript"}));
}

TEST_F(ApplyBackupTest, AScriptThatCannotBeReadIsNotedAndTheRestStillSaved) {
  sim_.files.DenyReading(script_);
  const BackupOutcome outcome = BackUp();
  ASSERT_TRUE(outcome.saved.saved);
  ASSERT_EQ(outcome.notes.size(), 1u);
  EXPECT_EQ(outcome.notes[0], L"cannot read " + script_ + L": what it writes is not backed up");
  EXPECT_EQ(SavedKeys(outcome).size(), 2u);
}

TEST_F(ApplyBackupTest, ABackupFolderThatCannotBeCreatedMeansNoBackupAndNoThrow) {
  sim_.files.InjectFault({FileOp::kCreateFolders, L"Backups", false, 5});
  const BackupOutcome outcome = BackUp();
  EXPECT_FALSE(outcome.saved.saved);
  EXPECT_EQ(outcome.saved.failure, L"cannot create the folder " + std::wstring(kSimLocalAppData) + L"\\Kelpo\\Backups");
}

TEST_F(ApplyBackupTest, ARegistryThatBreaksDownMeansNoBackupAndNoThrow) {
  sim_.registry.InjectFault({RegOp::kReadKeyRaw, "", 5, true});
  const BackupOutcome outcome = BackUp();
  EXPECT_FALSE(outcome.saved.saved);
  EXPECT_EQ(outcome.saved.failure.rfind(L"the backup broke down: 5", 0), 0u);
  std::vector<std::wstring> names;
  EXPECT_FALSE(sim_.files.ListFiles(std::wstring(kSimLocalAppData) + L"\\Kelpo\\Backups", L"*", &names));
}

}  // namespace
}  // namespace kelpo
