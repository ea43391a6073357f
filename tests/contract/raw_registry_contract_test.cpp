// The raw view: what the ANSI calls stored, read back through the wide calls. Runs against the
// in-memory registry natively and against advapi32 under Wine; a disagreement is a bug in the sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "contract/env/registry_env.h"
#include "platform/unicode.h"
#include "registry/registry_key.h"
#include "support/raw_data_printer.h"

namespace kelpo::testing {
namespace {

// UTF-16LE bytes of wide text, with the terminating zero when asked.
std::string Utf16(const std::wstring& text, bool zero = true) {
  return Utf16LeBytes(ToUtf16(text)) + (zero ? std::string(2, '\0') : std::string());
}

class RawRegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { env_ = MakeRegistryEnv(); }
  void TearDown() override { handles_.clear(); }

  Registry& r() { return env_->registry(); }
  RawRegistry& raw() { return env_->raw_registry(); }
  std::string Ansi(const std::wstring& text) { return env_->codec().ToAnsi(text); }

  HKey Create(const std::wstring& path) {
    HKey key = 0;
    EXPECT_EQ(r().CreateKey(reg::kCurrentUser, Ansi(path), &key), reg::kSuccess);
    handles_.emplace_back(key, KeyCloser(&r()));
    return key;
  }
  // Writes `size` bytes of `buffer`; the buffer may hold more, so the byte after the data is
  // the caller's choice (see the sim's note on terminating zeros).
  void Set(HKey key, const std::wstring& name, std::uint32_t type, const std::string& buffer, std::size_t size) {
    ASSERT_EQ(r().SetValue(key, Ansi(name), type, reinterpret_cast<const std::uint8_t*>(buffer.data()),
                           static_cast<std::uint32_t>(size)),
              reg::kSuccess);
  }
  void Set(HKey key, const std::wstring& name, std::uint32_t type, const std::string& bytes) {
    Set(key, name, type, bytes, bytes.size());
  }

  static std::map<std::wstring, RawData> ByName(const RawKey& key) {
    std::map<std::wstring, RawData> values;
    for (const RawValue& value : key.values) values[value.name] = value.data;
    return values;
  }

  std::unique_ptr<RegistryEnv> env_;
  std::vector<RegistryKey> handles_;
};

TEST_F(RawRegistryContract, EveryTypeReadsBackAsStoredWithStringsInUtf16) {
  const std::wstring path = L"Software\\Kelpo\\Raw";
  HKey key = Create(path);
  Set(key, L"sz", reg::kRegSz, std::string("abc\0", 4));
  Set(key, L"szNoZero", reg::kRegSz, "abcX", 3);  // the byte after the data is not zero
  Set(key, L"szEmpty", reg::kRegSz, "X", 0);
  Set(key, L"szChinese", reg::kRegSz, Ansi(L"可信站点") + '\0');
  Set(key, L"expand", reg::kRegExpandSz, std::string("%TEMP%\\x\0", 9));
  Set(key, L"multi", reg::kRegMultiSz, std::string("one\0two\0\0", 9));
  Set(key, L"binary", reg::kRegBinary, std::string("\x00\xFF\x10", 3));
  Set(key, L"dword", reg::kRegDword, std::string("\x78\x56\x34\x12", 4));
  Set(key, L"dwordShort", reg::kRegDword, std::string("\x01\x02", 2));
  Set(key, L"qword", reg::kRegQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  Set(key, L"none", reg::kRegNone, std::string("\x00\x01", 2));
  Set(key, L"odd", 0x42, std::string("\x2A", 1));
  Set(key, L"", reg::kRegSz, std::string("default\0", 8));
  Set(key, L"中文\"名\\称]", reg::kRegDword, std::string(4, '\x07'));

  RawKey read;
  ASSERT_EQ(raw().ReadKey(reg::kCurrentUser, path, &read), reg::kSuccess);
  const std::map<std::wstring, RawData> expected = {
      {L"sz", {reg::kRegSz, Utf16(L"abc")}},
      {L"szNoZero", {reg::kRegSz, Utf16(L"abc", false)}},
      {L"szEmpty", {reg::kRegSz, ""}},
      {L"szChinese", {reg::kRegSz, Utf16(L"可信站点")}},
      {L"expand", {reg::kRegExpandSz, Utf16(L"%TEMP%\\x")}},
      {L"multi", {reg::kRegMultiSz, Utf16LeBytes(std::u16string_view(u"one\0two\0\0", 9))}},
      {L"binary", {reg::kRegBinary, std::string("\x00\xFF\x10", 3)}},
      {L"dword", {reg::kRegDword, std::string("\x78\x56\x34\x12", 4)}},
      {L"dwordShort", {reg::kRegDword, std::string("\x01\x02", 2)}},
      {L"qword", {reg::kRegQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
      {L"none", {reg::kRegNone, std::string("\x00\x01", 2)}},
      {L"odd", {0x42, "*"}},
      {L"", {reg::kRegSz, Utf16(L"default")}},
      {L"中文\"名\\称]", {reg::kRegDword, std::string(4, '\x07')}},
  };
  EXPECT_EQ(ByName(read), expected);
  EXPECT_EQ(read.values.size(), expected.size());
  EXPECT_TRUE(read.subkeys.empty());

  // One value at a time, named as asked, whatever the case.
  RawValue value;
  ASSERT_EQ(raw().ReadValue(reg::kCurrentUser, path, L"SZNOZERO", &value), reg::kSuccess);
  EXPECT_EQ(value, (RawValue{L"SZNOZERO", {reg::kRegSz, Utf16(L"abc", false)}}));
  ASSERT_EQ(raw().ReadValue(reg::kCurrentUser, path, L"中文\"名\\称]", &value), reg::kSuccess);
  EXPECT_EQ(value.data.type, reg::kRegDword);
  ASSERT_EQ(raw().ReadValue(reg::kCurrentUser, path, L"", &value), reg::kSuccess);
  EXPECT_EQ(value.data, (RawData{reg::kRegSz, Utf16(L"default")}));
}

TEST_F(RawRegistryContract, SubkeysWithAnyNameAreListedAndOpened) {
  const std::wstring path = L"Software\\Kelpo\\Names";
  Create(path);
  const std::vector<std::wstring> names = {L"a]b", L"quote\"d", L"可信站点", L"plain"};
  for (const std::wstring& name : names) Create(path + L"\\" + name);
  RawKey read;
  ASSERT_EQ(raw().ReadKey(reg::kCurrentUser, path, &read), reg::kSuccess);
  std::vector<std::wstring> listed = read.subkeys;
  std::vector<std::wstring> expected = names;
  std::sort(listed.begin(), listed.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
  EXPECT_TRUE(read.values.empty());
  for (const std::wstring& name : names) {
    EXPECT_EQ(raw().ProbeKey(reg::kCurrentUser, path + L"\\" + name), reg::kSuccess);
    RawKey child;
    EXPECT_EQ(raw().ReadKey(reg::kCurrentUser, path + L"\\" + name, &child), reg::kSuccess);
  }
}

TEST_F(RawRegistryContract, MissingKeysAndValuesAreNotFoundAndLeaveTheResultAlone) {
  const std::wstring path = L"Software\\Kelpo\\Present";
  HKey key = Create(path);
  Set(key, L"x", reg::kRegDword, std::string(4, '\0'));
  EXPECT_EQ(raw().ProbeKey(reg::kCurrentUser, path), reg::kSuccess);
  EXPECT_EQ(raw().ProbeKey(reg::kCurrentUser, L"software\\KELPO\\present"), reg::kSuccess);
  EXPECT_EQ(raw().ProbeKey(reg::kCurrentUser, path + L"\\Absent"), reg::kFileNotFound);
  EXPECT_EQ(raw().ProbeKey(reg::kCurrentUser, path + L"\\Absent\\Deeper"), reg::kFileNotFound);
  RawKey untouched{{L"keep"}, {}};
  EXPECT_EQ(raw().ReadKey(reg::kCurrentUser, path + L"\\Absent", &untouched), reg::kFileNotFound);
  EXPECT_EQ(untouched.subkeys, std::vector<std::wstring>{L"keep"});
  RawValue value{L"keep", {}};
  EXPECT_EQ(raw().ReadValue(reg::kCurrentUser, path, L"y", &value), reg::kFileNotFound);
  EXPECT_EQ(raw().ReadValue(reg::kCurrentUser, path, L"", &value), reg::kFileNotFound);
  EXPECT_EQ(raw().ReadValue(reg::kCurrentUser, path + L"\\Absent", L"x", &value), reg::kFileNotFound);
  EXPECT_EQ(value.name, L"keep");
}

}  // namespace
}  // namespace kelpo::testing
