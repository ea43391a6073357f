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

namespace kelpo {
namespace {

// Where Windows and Wine differ, the default sim is Windows; the contract suite covers Wine.
class SimBehaviours : public ::testing::Test {
 protected:
  static void Fill(SimRegistry& r, HKey* key) {
    ASSERT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\V", key), reg::kSuccess);
    for (const char* name : {"zeta", "Alpha", "mid"}) {
      const std::string data(300, 'x');  // no terminating zero, larger than 255
      r.SetValue(*key, name, reg::kRegSz, reinterpret_cast<const std::uint8_t*>(data.data()), 300);
    }
  }
  static std::string NameAt(SimRegistry& r, HKey key, std::uint32_t index, RegStatus* status) {
    char name[255] = {};
    std::uint8_t data[255];
    std::uint32_t name_size = 255, data_size = 255;
    *status = r.EnumValue(key, index, name, &name_size, nullptr, data, &data_size);
    return name;
  }
};

TEST_F(SimBehaviours, WindowsEnumeratesValuesAsWrittenAndNamesThemWhenDataDoesNotFit) {
  SimRegistry r;
  HKey key = 0;
  Fill(r, &key);
  RegStatus status = 0;
  EXPECT_EQ(NameAt(r, key, 0, &status), "zeta");
  EXPECT_EQ(status, reg::kMoreData);
  EXPECT_EQ(NameAt(r, key, 1, &status), "Alpha");
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(r.QueryValue(key, "mid", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 300u);
  r.CloseKey(key);
}

TEST_F(SimBehaviours, WineSortsValuesAndLeavesTheNameWhenDataDoesNotFit) {
  SimRegistry r(SimRegistryBehaviour::Wine());
  HKey key = 0;
  Fill(r, &key);
  RegStatus status = 0;
  EXPECT_EQ(NameAt(r, key, 0, &status), "");
  EXPECT_EQ(status, reg::kMoreData);
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(r.QueryValue(key, "mid", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 300u);
  char name[16];
  std::uint32_t name_size = 16;
  ASSERT_EQ(r.EnumValue(key, 2, name, &name_size, nullptr, nullptr, nullptr), reg::kSuccess);
  EXPECT_STREQ(name, "zeta");
  r.CloseKey(key);
}

TEST_F(SimBehaviours, FailedEnumerationLeavesTheSizesAlone) {
  SimRegistry r;
  HKey key = 0;
  ASSERT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\E\\" + std::string(200, 'k'), &key), reg::kSuccess);
  r.CloseKey(key);
  ASSERT_EQ(r.OpenKey(reg::kCurrentUser, "Software\\E", &key), reg::kSuccess);
  char name[300];
  std::uint32_t size = 100;
  EXPECT_EQ(r.EnumKeyEx(key, 0, name, &size), reg::kMoreData);
  EXPECT_EQ(size, 100u);
  size = 77;
  EXPECT_EQ(r.EnumValue(key, 0, name, &size, nullptr, nullptr, nullptr), reg::kNoMoreItems);
  EXPECT_EQ(size, 77u);
  r.CloseKey(key);
}

}  // namespace
}  // namespace kelpo

