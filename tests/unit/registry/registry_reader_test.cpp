// The registry reader: values as stored, typed values, key tests, value lists.
#include "platform/runtime_error.h"
#include "support/gbk_codec.h"
#include "unit/registry/registry_fixture.h"

namespace kelpo::testing {
namespace {

const std::string kFlash = "SOFTWARE\\Macromedia\\FlashPlayer";
const std::string kIe = "SOFTWARE\\Microsoft\\Internet Explorer";

class RegistryReaderTest : public RegistryTest {};

TEST_F(RegistryReaderTest, StoredTextIsTheDataWithItsTerminatingZero) {
  Put(reg::kLocalMachine, kFlash, "CurrentVersion", reg::kRegSz, std::string("10,0,32,18\0", 11));
  const StoredText stored = reader_.ReadStoredText(reg::kLocalMachine, L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion");
  EXPECT_EQ(stored.text, std::wstring(L"10,0,32,18\0", 11));
  EXPECT_EQ(stored.type, 1);
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryReaderTest, StoredTextGivesOtherTypesAsRawBytes) {
  Put(reg::kCurrentUser, "Software\\K", "dw", reg::kRegDword, Dword(0x41424344));
  Put(reg::kCurrentUser, "Software\\K", "empty", reg::kRegBinary, "");
  Put(reg::kCurrentUser, "Software\\K", "multi", reg::kRegMultiSz, std::string("a\0b\0\0", 5));
  const auto read = [&](const wchar_t* name) { return reader_.ReadStoredText(reg::kCurrentUser, L"Software\\K", name); };
  EXPECT_EQ(read(L"dw").text, L"DCBA");
  EXPECT_EQ(read(L"dw").type, 4);
  EXPECT_EQ(read(L"empty").text, L"");
  EXPECT_EQ(read(L"empty").type, 3);
  EXPECT_EQ(read(L"multi").text, std::wstring(L"a\0b\0\0", 5));
  EXPECT_EQ(read(L"multi").type, 7);
}

TEST_F(RegistryReaderTest, StoredTextHasNoTypeWhenNothingCanBeRead) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  for (const auto& [path, name] : {std::pair{L"Software\\Missing", L"v"}, std::pair{L"Software\\K", L"missing"}}) {
    const StoredText stored = reader_.ReadStoredText(reg::kCurrentUser, path, name);
    EXPECT_EQ(stored.text, L"");
    EXPECT_EQ(stored.type, std::nullopt);
  }
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(RegistryReaderTest, StoredTextReadsTheDefaultValueByTheEmptyName) {
  Put(reg::kClassesRoot, "CLSID\\{X}", "", reg::kRegSz, std::string("Bar\0", 4));
  EXPECT_EQ(reader_.ReadStoredText(reg::kClassesRoot, L"CLSID\\{X}", L"").text, std::wstring(L"Bar\0", 4));
}

TEST_F(RegistryReaderTest, StoredTextMarksAFailedCloseWithMinusOne) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  registry_.InjectFault({RegOp::kCloseKey, "HKEY_CURRENT_USER\\Software\\K", 6});
  const StoredText stored = reader_.ReadStoredText(reg::kCurrentUser, L"Software\\K", L"v");
  EXPECT_EQ(stored.text, std::wstring(L"x\0", 2));
  EXPECT_EQ(stored.type, -1);
}

TEST_F(RegistryReaderTest, StoredTextTrapsARunTimeErrorWithItsBox) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  registry_.InjectFault({RegOp::kQueryValue, "", 5, true});
  const StoredText stored = reader_.ReadStoredText(reg::kCurrentUser, L"Software\\K", L"v");
  EXPECT_EQ(stored.text, L"");
  EXPECT_EQ(stored.type, -1);
  ASSERT_EQ(desktop_.messages().size(), 1u);
  const ShownMessage& box = desktop_.messages()[0];
  EXPECT_EQ(box.title, L"GenUtils/GetRegEntry");
  EXPECT_EQ(box.flags, 0x10u);
  EXPECT_EQ(box.text, L"5>  " + DescribeRuntimeError(5));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryReaderTest, ReadTextConvertsStringsAndNumbers) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, std::string("8.0.6001.18702\0", 15));
  Put(reg::kLocalMachine, kIe, "Big", reg::kRegDword, Dword(0x10000));
  Put(reg::kLocalMachine, kIe, "Minus", reg::kRegDword, Dword(0xFFFFFFFF));
  Put(reg::kLocalMachine, kIe, "Expand", reg::kRegExpandSz, std::string("%x%\0", 4));
  Put(reg::kLocalMachine, kIe, "Bin", reg::kRegBinary, "abc");
  Put(reg::kLocalMachine, kIe, "Multi", reg::kRegMultiSz, std::string("a\0\0", 3));
  Put(reg::kLocalMachine, kIe, "Inner", reg::kRegSz, std::string("ab\0cd\0", 6));
  Put(reg::kLocalMachine, kIe, "Short", reg::kRegDword, std::string("\x05\x01", 2));
  Put(reg::kLocalMachine, kIe, "Long", reg::kRegDword, std::string(8, '\x01'));
  const auto read = [&](const wchar_t* name) { return reader_.ReadText(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", name); };
  EXPECT_EQ(read(L"Version"), L"8.0.6001.18702");
  EXPECT_EQ(read(L"Big"), L"65536");
  EXPECT_EQ(read(L"Minus"), L"-1");
  EXPECT_EQ(read(L"Expand"), L"");
  EXPECT_EQ(read(L"Bin"), L"");
  EXPECT_EQ(read(L"Multi"), L"");
  EXPECT_EQ(read(L"Inner"), L"ab");
  EXPECT_EQ(read(L"Short"), L"261");
  EXPECT_EQ(read(L"Long"), L"");
  EXPECT_EQ(read(L"Missing"), L"");
  EXPECT_EQ(reader_.ReadText(reg::kLocalMachine, L"SOFTWARE\\Nowhere", L"Version"), L"");
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryReaderTest, AStringWithoutZeroIsEveryByteStored) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, "8.0");
  EXPECT_EQ(reader_.ReadText(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version"), L"8.0");
  const std::string whitelist = "|" + std::string(9998, 'w') + "|";  // as the policy writer cuts a long one
  Put(reg::kCurrentUser, "Software\\G", "PopupBlockerWhitelist", reg::kRegSz, whitelist);
  EXPECT_EQ(reader_.ReadText(reg::kCurrentUser, L"Software\\G", L"PopupBlockerWhitelist"),
            std::wstring(whitelist.begin(), whitelist.end()));
  Put(reg::kCurrentUser, "Software\\G", "empty", reg::kRegSz, "");
  EXPECT_EQ(reader_.ReadText(reg::kCurrentUser, L"Software\\G", L"empty"), L"");
}

TEST_F(RegistryReaderTest, ReadingNeedsOnlyTheRightToRead) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, std::string("7.0\0", 4));
  registry_.MarkReadOnly("HKEY_LOCAL_MACHINE\\" + kIe);
  EXPECT_EQ(reader_.ReadText(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version"), L"7.0");
  for (const RegCall& call : registry_.journal())
    if (call.op == RegOp::kOpenKeyEx) {
      EXPECT_EQ(call.status, reg::kSuccess);
    }
}

TEST_F(RegistryReaderTest, TypedReadsGiveTheStringOrTheNumberAndNothingOtherwise) {
  Put(reg::kCurrentUser, "Software\\K", "bin", reg::kRegBinary, "abc");
  Put(reg::kCurrentUser, "Software\\K", "num", reg::kRegDword, Dword(7));
  Put(reg::kCurrentUser, "Software\\K", "text", reg::kRegSz, std::string("67\0", 3));
  const auto read = [&](const wchar_t* name) { return reader_.ReadValue(reg::kCurrentUser, L"Software\\K", name); };
  EXPECT_TRUE(std::holds_alternative<std::monostate>(read(L"missing")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(read(L"bin")));
  EXPECT_EQ(std::get<std::int32_t>(read(L"num")), 7);
  EXPECT_EQ(std::get<std::wstring>(read(L"text")), L"67");
  registry_.InjectFault({RegOp::kQueryValue, "", 3, true, 1});
  EXPECT_TRUE(std::holds_alternative<std::monostate>(read(L"num")));  // trapped after the probe
  EXPECT_TRUE(desktop_.messages().empty());
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryReaderTest, AStringWhoseReadFailsAfterTheProbeIsNothing) {
  Put(reg::kCurrentUser, "Software\\K", "s", reg::kRegSz, std::string("abc\0", 4));
  registry_.InjectFault({RegOp::kQueryValue, "", 1018, false, 1});
  EXPECT_TRUE(std::holds_alternative<std::monostate>(reader_.ReadValue(reg::kCurrentUser, L"Software\\K", L"s")));
}

TEST_F(RegistryReaderTest, KeyExistsWhenItOpensForReading) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegDword, Dword(1));
  EXPECT_TRUE(reader_.KeyExists(reg::kCurrentUser, L"Software\\K"));
  EXPECT_TRUE(reader_.KeyExists(reg::kCurrentUser, L"software\\k"));
  EXPECT_FALSE(reader_.KeyExists(reg::kCurrentUser, L"Software\\Missing"));
  EXPECT_FALSE(reader_.KeyMissing(reg::kCurrentUser, L"Software\\K"));
  EXPECT_TRUE(reader_.KeyMissing(reg::kCurrentUser, L"Software\\Missing"));
  registry_.InjectFault({RegOp::kOpenKeyEx, "HKEY_CURRENT_USER\\Software\\Hidden", reg::kAccessDenied});
  EXPECT_FALSE(reader_.KeyExists(reg::kCurrentUser, L"Software\\Hidden"));
  EXPECT_FALSE(reader_.KeyMissing(reg::kCurrentUser, L"Software\\Hidden"));  // cannot be looked at: not missing
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(RegistryReaderTest, ValueListsNameEveryValueInOrderEvenOneWhoseDataIsTooBig) {
  Put(reg::kCurrentUser, "Software\\D\\a", "http", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "Software\\D\\a", "big", reg::kRegSz, std::string(400, 'x'));
  Put(reg::kCurrentUser, "Software\\D\\a", "https", reg::kRegDword, Dword(2));
  HKey none = 0;
  ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, "Software\\D\\none", &none), reg::kSuccess);
  registry_.CloseKey(none);
  const std::vector<ListedValue> values = reader_.ListValues(reg::kCurrentUser, L"Software\\D\\a");
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].name, "http");
  EXPECT_TRUE(values[0].HoldsDword(2));
  EXPECT_EQ(values[1].name, "big");  // data too big still counts
  EXPECT_FALSE(values[1].whole);
  EXPECT_EQ(values[1].data.size(), 255u);
  EXPECT_EQ(values[2].name, "https");
  EXPECT_TRUE(reader_.ListValues(reg::kCurrentUser, L"Software\\D\\none").empty());
  EXPECT_TRUE(reader_.ListValues(reg::kCurrentUser, L"Software\\D\\missing").empty());
}

TEST_F(RegistryReaderTest, EnumerationThatKeepsFailingEnds) {
  Put(reg::kCurrentUser, "Software\\D\\a", "http", reg::kRegDword, Dword(2));
  registry_.InjectFault({RegOp::kEnumValue, "", 1018});
  // The failing call is listed as a value that is not whole, and ends the list.
  const std::vector<ListedValue> values = reader_.ListValues(reg::kCurrentUser, L"Software\\D\\a");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_FALSE(values[0].whole);
  EXPECT_EQ(values[0].name, "");
}

class GbkReads : public RegistryTest {
 protected:
  GbkReads() : RegistryTest(gbk_.get()) {}
  static inline std::unique_ptr<TextCodec> gbk_ = MakeGbkCodec();
};

TEST_F(GbkReads, InvalidSequencesDoNotBreakTheRead) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("\xff\xff" " abc\0", 7));
  EXPECT_NO_THROW(reader_.ReadText(reg::kCurrentUser, L"Software\\K", L"v"));
  EXPECT_NE(reader_.ReadStoredText(reg::kCurrentUser, L"Software\\K", L"v").text.find(L"abc"), std::wstring::npos);
}

}  // namespace
}  // namespace kelpo::testing
