// An open key and its owner, the subkey walk, and the deletion of a whole tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "registry/registry_key.h"
#include "registry/subkey_iterator.h"
#include "unit/registry/registry_fixture.h"

namespace kelpo::testing {
namespace {

const std::string kTree = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";

class RegistryKeyTest : public RegistryTest {
 protected:
  void Scheme(const std::string& key, const std::string& scheme) {
    Put(reg::kCurrentUser, key, scheme, reg::kRegDword, Dword(2));
  }
  void MakeKey(const std::string& path) {
    HKey key = 0;
    ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, path, &key), reg::kSuccess);
    registry_.CloseKey(key);
  }
  std::vector<std::string> Walk(HKey root, const std::string& path, RegStatus* end = nullptr) {
    std::vector<std::string> names;
    SubkeyIterator subkey(registry_, root, path);
    for (; subkey.Valid(); ++subkey) names.push_back(subkey.name());
    if (end != nullptr) *end = subkey.status();
    return names;
  }
};

// --- The owner template, with a closer that counts. ---

struct CountingCloser {
  using Handle = int;
  static constexpr int kNone = 0;
  static bool Owns(int handle) { return handle > 0; }
  int Close(int handle) {
    closed->push_back(handle);
    if (handle == 13) throw std::runtime_error("close broke");
    return handle * 10;
  }
  std::vector<int>* closed = nullptr;
};
using Counted = UniqueResource<CountingCloser>;

TEST(UniqueResource, ClosesExactlyOnceWhateverHappensToTheOwner) {
  std::vector<int> closed;
  {
    Counted a(1, {&closed});
    Counted b(std::move(a));          // moved: only b closes
    Counted c(2, {&closed});
    c = std::move(b);                 // replaced: 2 closes now, 1 when c goes
    EXPECT_FALSE(a);
    EXPECT_EQ(c.get(), 1);
    Counted none(-1, {&closed});      // a value that owns nothing
    EXPECT_FALSE(none);
    EXPECT_EQ(closed, std::vector<int>{2});
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST(UniqueResource, AnExplicitCloseGivesTheAnswerAndLeavesNothingToCloseAgain) {
  std::vector<int> closed;
  Counted owner(4, {&closed});
  EXPECT_EQ(owner.Close(), 40);
  EXPECT_EQ(owner.Close(), 0);  // nothing left: the default answer
  EXPECT_FALSE(owner);
  EXPECT_EQ(closed, std::vector<int>{4});
}

TEST(UniqueResource, ACloseThatThrowsStillGivesTheHandleUpAndADestructorSwallowsIt) {
  std::vector<int> closed;
  {
    Counted owner(13, {&closed});
    EXPECT_THROW(owner.Close(), std::runtime_error);
    EXPECT_FALSE(owner);
  }
  { Counted dropped(13, {&closed}); }
  EXPECT_EQ(closed, (std::vector<int>{13, 13}));
}

// --- Registry keys. ---

TEST_F(RegistryKeyTest, AKeyIsClosedOnceAndARootOrTheParentHandedBackIsNeverClosed) {
  MakeKey("Software\\K");
  {
    RegistryKey key;
    ASSERT_EQ(OpenRegistryKey(registry_, reg::kCurrentUser, "Software\\K", &key), reg::kSuccess);
    EXPECT_EQ(registry_.open_handle_count(), 1u);
    RegistryKey same;
    ASSERT_EQ(OpenRegistryKey(registry_, key.get(), "", &same), reg::kSuccess);  // the parent itself
    EXPECT_EQ(same.get(), key.get());
    RegistryKey root;
    ASSERT_EQ(OpenRegistryKey(registry_, reg::kCurrentUser, "", &root), reg::kSuccess);
  }
  EXPECT_EQ(registry_.open_handle_count(), 0u);
  registry_.ClearJournal();
  {
    RegistryKey key;
    ASSERT_EQ(OpenRegistryKeyToRead(registry_, reg::kCurrentUser, "Software\\K", &key), reg::kSuccess);
  }
  int closes = 0;
  for (const RegCall& call : registry_.journal()) closes += call.op == RegOp::kCloseKey;
  EXPECT_EQ(closes, 1);
}

TEST_F(RegistryKeyTest, AFailedOpenLeavesTheOwnerAsItWas) {
  MakeKey("Software\\K");
  RegistryKey key;
  ASSERT_EQ(CreateRegistryKey(registry_, reg::kCurrentUser, "Software\\K", &key), reg::kSuccess);
  const HKey held = key.get();
  EXPECT_EQ(OpenRegistryKey(registry_, reg::kCurrentUser, "Software\\Missing", &key), reg::kFileNotFound);
  EXPECT_EQ(key.get(), held);
}

// --- The subkey walk. ---

TEST_F(RegistryKeyTest, TheWalkGivesEverySubkeyInRegistryOrderAndClosesItsKey) {
  for (const char* name : {"b", "A", "c"}) MakeKey("Software\\W\\" + std::string(name));
  MakeKey("Software\\W\\b\\deeper");
  RegStatus end = 0;
  EXPECT_EQ(Walk(reg::kCurrentUser, "Software\\W", &end), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(end, reg::kNoMoreItems);
  EXPECT_TRUE(Walk(reg::kCurrentUser, "Software\\W\\c").empty());
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryKeyTest, AKeyThatCannotBeOpenedHasNoSubkeysAndSaysSo) {
  const SubkeyIterator missing(registry_, reg::kCurrentUser, "Software\\Missing");
  EXPECT_FALSE(missing.opened());
  EXPECT_FALSE(missing.Valid());
}

TEST_F(RegistryKeyTest, TheWalkEndsAtTheFirstEnumerationThatFails) {
  for (const char* name : {"a", "b", "c"}) MakeKey("Software\\W\\" + std::string(name));
  registry_.InjectFault({RegOp::kEnumKeyEx, "", reg::kAccessDenied, false, 1, 1});
  RegStatus end = 0;
  EXPECT_EQ(Walk(reg::kCurrentUser, "Software\\W", &end), std::vector<std::string>{"a"});
  EXPECT_EQ(end, reg::kAccessDenied);
}

TEST_F(RegistryKeyTest, ANameIsTakenUpToItsZero) {
  HKey key = 0;
  ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, "Software\\W", &key), reg::kSuccess);
  HKey child = 0;
  ASSERT_EQ(registry_.CreateKey(key, std::string("{N}\0tail", 8), &child), reg::kSuccess);
  registry_.CloseKey(child);
  registry_.CloseKey(key);
  EXPECT_EQ(Walk(reg::kCurrentUser, "Software\\W"), std::vector<std::string>{"{N}"});
}

// --- Deleting a tree. ---

TEST_F(RegistryKeyTest, DeletingATreeRemovesEverythingBelow) {
  for (const char* leaf : {"\\a.com\\www", "\\a.com\\mail", "\\b.com\\x\\y", "\\b.com\\z", "\\c"})
    Scheme(kTree + leaf, "http");
  EXPECT_EQ(reg::kSuccess, DeleteRegistryTree(registry_, reg::kCurrentUser, kTree));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kTree));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap"));
  EXPECT_NE(reg::kSuccess, DeleteRegistryTree(registry_, reg::kCurrentUser, kTree));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryKeyTest, ReadOnlySubkeyStopsItsParentsDeletion) {
  Scheme(kTree + "\\a.com\\www", "http");
  Scheme(kTree + "\\b.com", "http");
  Scheme(kTree + "\\c.com", "http");
  registry_.MarkReadOnly("HKEY_CURRENT_USER\\" + kTree + "\\b.com");
  EXPECT_NE(reg::kSuccess, DeleteRegistryTree(registry_, reg::kCurrentUser, kTree));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, kTree + "\\a.com"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kTree + "\\b.com"));
  EXPECT_TRUE(KeyExists(reg::kCurrentUser, kTree + "\\c.com"));  // never reached
}

TEST_F(RegistryKeyTest, ReadOnlyLeafIsTriedTwiceAndReportsFalse) {
  MakeKey("Software\\Locked");
  registry_.MarkReadOnly("HKEY_CURRENT_USER\\Software\\Locked");
  registry_.ClearJournal();
  EXPECT_NE(reg::kSuccess, DeleteRegistryTree(registry_, reg::kCurrentUser, "Software\\Locked"));
  int deletes = 0;
  for (const RegCall& call : registry_.journal()) deletes += call.op == RegOp::kDeleteKey;
  EXPECT_EQ(deletes, 2);
}

TEST_F(RegistryKeyTest, DeepTreeIsDeletedWithoutExhaustingTheStack) {
  HKey key = 0;
  ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, "Software\\Deep", &key), reg::kSuccess);
  for (int level = 0; level < 512; ++level) {
    HKey child = 0;
    ASSERT_EQ(registry_.CreateKey(key, "d", &child), reg::kSuccess);
    registry_.CloseKey(key);
    key = child;
  }
  registry_.CloseKey(key);
  EXPECT_EQ(reg::kSuccess, DeleteRegistryTree(registry_, reg::kCurrentUser, "Software\\Deep"));
  EXPECT_FALSE(KeyExists(reg::kCurrentUser, "Software\\Deep"));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryKeyTest, AMissingTreeSaysThereWasNothingToDelete) {
  EXPECT_EQ(DeleteRegistryTree(registry_, reg::kCurrentUser, "Software\\Nowhere"), reg::kFileNotFound);
  EXPECT_TRUE(NothingLeft(reg::kFileNotFound));
  EXPECT_FALSE(NothingLeft(reg::kAccessDenied));
}

}  // namespace
}  // namespace kelpo::testing
