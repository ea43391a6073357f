// What only the in-memory registry offers: read-only keys, faults, the journal.
#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/sim/sim_registry.h"

namespace kelpo {
namespace {

TEST(SimRegistry, ReadOnlyKeyRefusesWriteOpensWritesAndDeletion) {
  SimRegistry r;
  r.MarkReadOnly("HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked");
  HKey key = 0;
  EXPECT_EQ(r.OpenKeyEx(reg::kLocalMachine, "SOFTWARE\\Locked", reg::kKeyAllAccess, &key), reg::kAccessDenied);
  ASSERT_EQ(r.OpenKeyEx(reg::kLocalMachine, "SOFTWARE\\Locked", reg::kKeyRead, &key), reg::kSuccess);
  std::uint32_t v = 1;
  EXPECT_EQ(r.SetValue(key, "x", reg::kRegDword, reinterpret_cast<std::uint8_t*>(&v), 4), reg::kAccessDenied);
  r.CloseKey(key);
  HKey child = 0;
  EXPECT_EQ(r.CreateKey(reg::kLocalMachine, "SOFTWARE\\Locked\\Child", &child), reg::kAccessDenied);
  EXPECT_EQ(r.DeleteKey(reg::kLocalMachine, "SOFTWARE\\Locked"), reg::kAccessDenied);
  EXPECT_EQ(r.open_handle_count(), 0u);
}

TEST(SimRegistry, FaultsMatchOperationAndPathPrefixAndCount) {
  SimRegistry r;
  r.InjectFault({RegOp::kCreateKey, "HKEY_CURRENT_USER\\Software\\A*", 1234, false, 1, 1});
  HKey key = 0;
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\A\\x", &key), reg::kSuccess);  // skipped once
  r.CloseKey(key);
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "software\\a\\y", &key), 1234);
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\A\\z", &key), reg::kSuccess);  // used up
  r.CloseKey(key);
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\B", &key), reg::kSuccess);
  r.CloseKey(key);
}

TEST(SimRegistry, FaultCanThrowARuntimeError) {
  SimRegistry r;
  r.InjectFault({RegOp::kOpenKey, "", 5, true});
  HKey key = 0;
  try {
    r.OpenKey(reg::kCurrentUser, "Software", &key);
    FAIL() << "no throw";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 5);
  }
}

TEST(SimRegistry, JournalRecordsCallsInOrderWithFullPaths) {
  SimRegistry r;
  HKey key = 0;
  r.CreateKey(reg::kCurrentUser, "Software\\K", &key);
  const std::uint8_t star = '*';
  r.SetValue(key, "Version", reg::kRegSz, &star, 1);
  r.CloseKey(key);
  r.DeleteKey(reg::kCurrentUser, "Software\\K");
  ASSERT_EQ(r.journal().size(), 4u);
  EXPECT_EQ(r.journal()[0].op, RegOp::kCreateKey);
  EXPECT_EQ(r.journal()[0].path, "HKEY_CURRENT_USER\\Software\\K");
  EXPECT_EQ(r.journal()[1].value, "Version");
  EXPECT_EQ(r.journal()[1].data, "*");
  EXPECT_EQ(r.journal()[3].op, RegOp::kDeleteKey);
  EXPECT_EQ(r.journal()[3].path, "HKEY_CURRENT_USER\\Software\\K");
}

}  // namespace
}  // namespace kelpo
