// The registry port's behaviour that the program relies on. Runs against the in-memory
// registry natively and against advapi32 under Wine; a disagreement is a bug in the sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "contract/env/registry_env.h"
#include "platform/raw_registry.h"
#include "registry/registry_key.h"

namespace kelpo::testing {
namespace {

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { env_ = MakeRegistryEnv(); }

  Registry& r() { return env_->registry(); }

  HKey Create(const std::string& path) {
    HKey key = 0;
    EXPECT_EQ(r().CreateKey(reg::kCurrentUser, path, &key), reg::kSuccess) << path;
    handles_.emplace_back(key, KeyCloser(&r()));
    return key;
  }
  void SetText(HKey key, const std::string& name, const std::string& bytes) {
    ASSERT_EQ(r().SetValue(key, name, reg::kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size())), reg::kSuccess);
  }
  void SetDword(HKey key, const std::string& name, std::uint32_t value) {
    ASSERT_EQ(r().SetValue(key, name, reg::kRegDword, reinterpret_cast<const std::uint8_t*>(&value), 4),
              reg::kSuccess);
  }
  std::vector<std::string> SubkeyNames(HKey key) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
      std::array<char, 256> name{};
      std::uint32_t size = 256;
      if (r().EnumKeyEx(key, i, name.data(), &size) != reg::kSuccess) break;
      names.emplace_back(name.data(), size);
    }
    return names;
  }
  std::vector<std::string> ValueNames(HKey key) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
      std::array<char, 256> name{};
      std::uint32_t size = 256;
      if (r().EnumValue(key, i, name.data(), &size, nullptr, nullptr, nullptr) != reg::kSuccess) break;
      names.emplace_back(name.data(), size);
    }
    return names;
  }

  std::unique_ptr<RegistryEnv> env_;
  std::vector<RegistryKey> handles_;  // closed before the environment goes
  void TearDown() override { handles_.clear(); }
};

TEST_F(RegistryContract, OpensWhatWasCreatedWhateverTheCaseAndNotWhatIsMissing) {
  Create("Software\\Kelpo\\Alpha\\Beta");
  HKey key = 0;
  EXPECT_EQ(r().OpenKey(reg::kCurrentUser, "SOFTWARE\\kelpo\\ALPHA\\beta", &key), reg::kSuccess);
  EXPECT_EQ(r().CloseKey(key), reg::kSuccess);
  EXPECT_EQ(r().OpenKeyEx(reg::kCurrentUser, "Software\\Kelpo\\Alpha", reg::kKeyRead, &key), reg::kSuccess);
  EXPECT_EQ(r().CloseKey(key), reg::kSuccess);
  HKey untouched = 77;
  EXPECT_EQ(r().OpenKey(reg::kCurrentUser, "Software\\Kelpo\\Gamma", &untouched), reg::kFileNotFound);
  EXPECT_EQ(r().OpenKeyEx(reg::kCurrentUser, "Software\\Kelpo\\Gamma", reg::kKeyRead, &untouched),
            reg::kFileNotFound);
  EXPECT_EQ(untouched, 77u);
}

TEST_F(RegistryContract, CreateMakesEveryMissingKeyAndTrailingSeparatorIsHarmless) {
  Create("Software\\Kelpo\\A\\B\\C\\");
  HKey key = 0;
  ASSERT_EQ(r().OpenKey(reg::kCurrentUser, "Software\\Kelpo\\A\\B\\C", &key), reg::kSuccess);
  r().CloseKey(key);
}

TEST_F(RegistryContract, PlainOpenOfEmptyPathHandsBackTheParent) {
  HKey parent = Create("Software\\Kelpo");
  HKey key = 0;
  ASSERT_EQ(r().OpenKey(parent, "", &key), reg::kSuccess);
  EXPECT_EQ(key, parent);
}

TEST_F(RegistryContract, SubkeysEnumerateSortedWithoutRegardToCase) {
  HKey root = Create("Software\\Kelpo\\Sorted");
  for (const char* name : {"beta", "Alpha", "gamma", "_under", "Delta", "a_b", "aB"}) Create(std::string("Software\\Kelpo\\Sorted\\") + name);
  EXPECT_EQ(SubkeyNames(root), (std::vector<std::string>{"_under", "a_b", "aB", "Alpha", "beta", "Delta", "gamma"}));
}

// Wine enumerates values sorted by name (Windows: in the order first written; see the sim's
// Windows behaviour in the unit tests).
TEST_F(RegistryContract, ValuesEnumerateSortedAndOverwriteKeepsTheFirstSpelling) {
  HKey key = Create("Software\\Kelpo\\Values");
  SetDword(key, "zeta", 1);
  SetDword(key, "Alpha", 2);
  SetText(key, "mid", std::string("x\0", 2));
  SetDword(key, "ALPHA", 3);  // overwrite keeps the place and the first spelling
  EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"Alpha", "mid", "zeta"}));
  std::uint32_t data = 0, size = 4, type = 0;
  ASSERT_EQ(r().QueryValue(key, "alpha", &type, reinterpret_cast<std::uint8_t*>(&data), &size), reg::kSuccess);
  EXPECT_EQ(data, 3u);
}

TEST_F(RegistryContract, QueryWithoutBufferProbesTypeAndSize) {
  HKey key = Create("Software\\Kelpo\\Probe");
  SetText(key, "Version", std::string("8.0.6001.18702\0", 15));
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(r().QueryValue(key, "Version", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegSz);
  EXPECT_EQ(size, 15u);
}

TEST_F(RegistryContract, QueryIntoSmallBufferGivesMoreDataAndTheSizeNeeded) {
  HKey key = Create("Software\\Kelpo\\Small");
  SetText(key, "v", std::string("abcdef\0", 7));
  std::array<std::uint8_t, 3> buffer{};
  std::uint32_t type = 0, size = 3;
  EXPECT_EQ(r().QueryValue(key, "v", &type, buffer.data(), &size), reg::kMoreData);
  EXPECT_EQ(size, 7u);
}

// A string is stored as exactly the bytes given, whatever lies after them in the caller's
// buffer: here a zero (a std::string's own terminator) that advapi32 would otherwise take for
// a terminating zero the caller forgot to count.
TEST_F(RegistryContract, StringsAreStoredAsExactlyTheBytesGiven) {
  HKey key = Create("Software\\Kelpo\\Exact");
  const std::string address = "192.168.100.100";  // 15 bytes, a zero after them in the buffer
  SetText(key, "noZero", address);
  const std::uint8_t asterisk[2] = {'*', 0};
  ASSERT_EQ(r().SetValue(key, "Version", reg::kRegSz, asterisk, 1), reg::kSuccess);
  const std::string multi("a\0b", 3);
  ASSERT_EQ(r().SetValue(key, "multi", reg::kRegMultiSz, reinterpret_cast<const std::uint8_t*>(multi.c_str()), 3),
            reg::kSuccess);
  SetText(key, "zeroed", std::string("10.0.0.1\0", 9));
  SetText(key, "empty", "");
  for (const auto& [name, size] : {std::pair<const char*, std::uint32_t>{"noZero", 15}, {"Version", 1}, {"multi", 3},
                                   {"zeroed", 9}, {"empty", 0}}) {
    std::uint32_t type = 0, stored = 0;
    ASSERT_EQ(r().QueryValue(key, name, &type, nullptr, &stored), reg::kSuccess) << name;
    EXPECT_EQ(stored, size) << name;
  }
  RawValue raw;
  ASSERT_EQ(env_->raw_registry().ReadValue(reg::kCurrentUser, L"Software\\Kelpo\\Exact", L"Version", &raw),
            reg::kSuccess);
  EXPECT_EQ(raw.data.bytes, std::string("*\0", 2));  // one UTF-16 character, no zero
}

// An ANSI read of a string stored without its zero reports the bytes stored; with room in the
// buffer a zero follows them, not counted.
TEST_F(RegistryContract, AStringWithoutItsZeroReadsAsStoredWithAnUncountedZeroAfter) {
  HKey key = Create("Software\\Kelpo\\Exact");
  SetText(key, "noZero", "192.168.100.100");
  std::array<std::uint8_t, 64> buffer{};
  buffer.fill(0x55);
  std::uint32_t type = 0, size = 64;
  ASSERT_EQ(r().QueryValue(key, "noZero", &type, buffer.data(), &size), reg::kSuccess);
  EXPECT_EQ(size, 15u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()), 16), std::string("192.168.100.100\0", 16));
  buffer.fill(0x55);
  size = 15;
  ASSERT_EQ(r().QueryValue(key, "noZero", &type, buffer.data(), &size), reg::kSuccess);  // no room: none added
  EXPECT_EQ(size, 15u);
  EXPECT_EQ(buffer[15], 0x55);
  size = 14;
  EXPECT_EQ(r().QueryValue(key, "noZero", &type, buffer.data(), &size), reg::kMoreData);
  EXPECT_EQ(size, 15u);
  std::array<char, 255> name{};
  std::uint32_t name_size = 255, data_size = 64;
  buffer.fill(0x55);
  ASSERT_EQ(r().EnumValue(key, 0, name.data(), &name_size, &type, buffer.data(), &data_size), reg::kSuccess);
  EXPECT_EQ(data_size, 15u);
  EXPECT_EQ(buffer[15], 0);
}

TEST_F(RegistryContract, DefaultValueHasTheEmptyName) {
  HKey key = Create("Software\\Kelpo\\Default");
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(r().QueryValue(key, "", &type, nullptr, &size), reg::kFileNotFound);
  SetText(key, "", std::string("My Toolbar\0", 11));
  ASSERT_EQ(r().QueryValue(key, "", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(ValueNames(key), (std::vector<std::string>{""}));
}

TEST_F(RegistryContract, MissingValueIsNotFound) {
  HKey key = Create("Software\\Kelpo\\Missing");
  std::uint32_t type = 99, size = 5;
  EXPECT_EQ(r().QueryValue(key, "nothing", &type, nullptr, &size), reg::kFileNotFound);
  EXPECT_EQ(type, 99u);
}

TEST_F(RegistryContract, EnumValueWithSmallDataBufferGivesMoreDataAndTheSizeNeeded) {
  HKey key = Create("Software\\Kelpo\\EnumSmall");
  SetText(key, "long", std::string(300, 'x') + '\0');
  std::array<char, 255> name{};
  std::array<std::uint8_t, 255> data{};
  std::uint32_t name_size = 255, data_size = 255;
  EXPECT_EQ(r().EnumValue(key, 0, name.data(), &name_size, nullptr, data.data(), &data_size), reg::kMoreData);
  EXPECT_STREQ(name.data(), "");  // Wine leaves the name unset here
  EXPECT_EQ(data_size, 301u);
  name_size = 255;
  data_size = 255;
  EXPECT_EQ(r().EnumValue(key, 1, name.data(), &name_size, nullptr, data.data(), &data_size), reg::kNoMoreItems);
}

TEST_F(RegistryContract, EnumValueReportsTypeNameAndData) {
  HKey key = Create("Software\\Kelpo\\EnumData");
  SetDword(key, "http", 2);
  std::array<char, 255> name{};
  std::array<std::uint8_t, 255> data{};
  std::uint32_t name_size = 255, data_size = 255, type = 0;
  ASSERT_EQ(r().EnumValue(key, 0, name.data(), &name_size, &type, data.data(), &data_size), reg::kSuccess);
  EXPECT_EQ(name_size, 4u);
  EXPECT_STREQ(name.data(), "http");
  EXPECT_EQ(type, reg::kRegDword);
  EXPECT_EQ(data_size, 4u);
  EXPECT_EQ(data[0], 2);
}

TEST_F(RegistryContract, EnumKeyNameLimits) {
  const std::string name255(255, 'k');
  HKey parent = Create("Software\\Kelpo\\Names");
  HKey child = 0;
  ASSERT_EQ(r().CreateKey(parent, name255, &child), reg::kSuccess);
  r().CloseKey(child);
  std::array<char, 256> name{};
  std::uint32_t size = 255;
  EXPECT_EQ(r().EnumKeyEx(parent, 0, name.data(), &size), reg::kMoreData);
  size = 256;
  ASSERT_EQ(r().EnumKeyEx(parent, 0, name.data(), &size), reg::kSuccess);
  EXPECT_EQ(size, 255u);
  EXPECT_EQ(r().EnumKey(parent, 0, name.data(), 255), reg::kMoreData);
  EXPECT_EQ(r().EnumKey(parent, 0, name.data(), 256), reg::kSuccess);
  EXPECT_EQ(r().EnumKey(parent, 1, name.data(), 256), reg::kNoMoreItems);
  size = 256;
  EXPECT_EQ(r().EnumKeyEx(parent, 1, name.data(), &size), reg::kNoMoreItems);
}

TEST_F(RegistryContract, OverlongNamesAndPathsAreRefused) {
  HKey parent = Create("Software\\Kelpo\\Long");
  HKey key = 0;
  EXPECT_EQ(r().CreateKey(parent, "a\\" + std::string(258, 'k'), &key), reg::kInvalidParameter);
  EXPECT_EQ(r().OpenKey(parent, "a\\" + std::string(258, 'k'), &key), reg::kInvalidParameter);
  EXPECT_EQ(r().CreateKey(parent, std::string(130, 'k') + "\\" + std::string(130, 'k'), &key), reg::kMoreData);
  EXPECT_EQ(r().OpenKeyEx(parent, std::string(130, 'k') + "\\" + std::string(130, 'k'), reg::kKeyRead, &key),
            reg::kMoreData);
  EXPECT_EQ(r().OpenKey(parent, "\\x", &key), 161);
  ASSERT_EQ(r().CreateKey(parent, "x\\\\y", &key), reg::kSuccess);  // an empty step is skipped
  r().CloseKey(key);
  ASSERT_EQ(r().OpenKey(parent, "x\\y", &key), reg::kSuccess);
  r().CloseKey(key);
}

TEST_F(RegistryContract, DeleteRefusesAKeyWithSubkeysAndEmptyNameDeletesTheKeyItself) {
  HKey parent = Create("Software\\Kelpo\\Del\\Child");
  (void)parent;
  HKey del = 0;
  ASSERT_EQ(r().OpenKey(reg::kCurrentUser, "Software\\Kelpo\\Del", &del), reg::kSuccess);
  EXPECT_EQ(r().DeleteKey(del, ""), reg::kAccessDenied);
  EXPECT_EQ(r().DeleteKey(del, "child"), reg::kSuccess);
  EXPECT_EQ(r().DeleteKey(del, "child"), reg::kFileNotFound);
  EXPECT_EQ(r().DeleteKey(del, ""), reg::kSuccess);
  EXPECT_EQ(r().CloseKey(del), reg::kSuccess);
  HKey gone = 0;
  EXPECT_EQ(r().OpenKey(reg::kCurrentUser, "Software\\Kelpo\\Del", &gone), reg::kFileNotFound);
}

TEST_F(RegistryContract, DeleteValueRemovesThatValueAloneWhateverTheCaseOfItsName) {
  HKey key = Create("Software\\Kelpo\\Values");
  SetDword(key, "http", 2);
  SetDword(key, "https", 4);
  SetText(key, ":Range", std::string("10.0.0.1\0", 9));
  EXPECT_EQ(r().DeleteValue(key, "HTTP"), reg::kSuccess);
  EXPECT_EQ(r().DeleteValue(key, "http"), reg::kFileNotFound);
  std::vector<std::string> names = ValueNames(key);
  std::sort(names.begin(), names.end());  // the order of values is the registry's affair
  EXPECT_EQ(names, (std::vector<std::string>{":Range", "https"}));
  std::uint32_t data = 0, size = 4, type = 0;
  EXPECT_EQ(r().QueryValue(key, "https", &type, reinterpret_cast<std::uint8_t*>(&data), &size), reg::kSuccess);
  EXPECT_EQ(data, 4u);
  EXPECT_EQ(r().DeleteValue(key, ":Range"), reg::kSuccess);
  EXPECT_EQ(r().DeleteValue(key, "https"), reg::kSuccess);
  EXPECT_TRUE(ValueNames(key).empty());
}

TEST_F(RegistryContract, DeletedKeyHandleFailsWithKeyDeleted) {
  Create("Software\\Kelpo\\Doomed");
  HKey doomed = 0;
  ASSERT_EQ(r().OpenKey(reg::kCurrentUser, "Software\\Kelpo\\Doomed", &doomed), reg::kSuccess);
  ASSERT_EQ(r().DeleteKey(reg::kCurrentUser, "Software\\Kelpo\\Doomed"), reg::kSuccess);
  std::uint32_t v = 1;
  EXPECT_EQ(r().SetValue(doomed, "x", reg::kRegDword, reinterpret_cast<std::uint8_t*>(&v), 4), 1018);
  std::array<char, 256> name{};
  std::uint32_t size = 256;
  EXPECT_EQ(r().EnumKeyEx(doomed, 0, name.data(), &size), 1018);
  // A key held open above a new key may have gone: creating below it fails the same way.
  HKey child = 0;
  EXPECT_EQ(r().CreateKey(doomed, "child", &child), 1018);
  std::uint32_t subkeys = 7, values = 7;
  EXPECT_EQ(r().QueryInfoKey(doomed, &subkeys, &values), 1018);
  EXPECT_EQ(subkeys, 7u);
  EXPECT_EQ(r().CloseKey(doomed), reg::kSuccess);
}

TEST_F(RegistryContract, KeyInfoCountsTheSubkeysAndValues) {
  HKey key = Create("Software\\Kelpo\\Counted");
  std::uint32_t subkeys = 7, values = 7;
  ASSERT_EQ(r().QueryInfoKey(key, &subkeys, &values), reg::kSuccess);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 0u);
  Create("Software\\Kelpo\\Counted\\a");
  Create("Software\\Kelpo\\Counted\\b\\c");
  SetText(key, "x", "1");
  SetText(key, "", "default");
  ASSERT_EQ(r().QueryInfoKey(key, &subkeys, &values), reg::kSuccess);
  EXPECT_EQ(subkeys, 2u);
  EXPECT_EQ(values, 2u);
}

TEST_F(RegistryContract, OtherValueTypesKeepTheirTypeAndBytes) {
  HKey key = Create("Software\\Kelpo\\Types");
  const std::string multi("a\0b\0\0", 5);
  ASSERT_EQ(r().SetValue(key, "multi", reg::kRegMultiSz, reinterpret_cast<const std::uint8_t*>(multi.data()), 5), reg::kSuccess);
  const std::uint8_t binary[3] = {1, 0, 2};
  ASSERT_EQ(r().SetValue(key, "bin", reg::kRegBinary, binary, 3), reg::kSuccess);
  ASSERT_EQ(r().SetValue(key, "zero", reg::kRegBinary, nullptr, 0), reg::kSuccess);
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(r().QueryValue(key, "multi", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegMultiSz);
  EXPECT_EQ(size, 5u);
  ASSERT_EQ(r().QueryValue(key, "bin", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegBinary);
  EXPECT_EQ(size, 3u);
  ASSERT_EQ(r().QueryValue(key, "zero", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(RegistryContract, ClosingARootSucceeds) {
  EXPECT_EQ(r().CloseKey(reg::kCurrentUser), reg::kSuccess);
}

}  // namespace
}  // namespace kelpo::testing
