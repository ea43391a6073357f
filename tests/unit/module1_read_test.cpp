// The registry procedures that read: raw entries, typed values, key tests, value names, scans.
#include "platform/runtime_error.h"
#include "support/gbk_codec.h"
#include "unit/module1_fixture.h"

namespace kelpo::testing {
namespace {

const std::string kFlash = "SOFTWARE\\Macromedia\\FlashPlayer";
const std::string kIe = "SOFTWARE\\Microsoft\\Internet Explorer";

class ReadProcedures : public RegistryTest {};

TEST_F(ReadProcedures, GetRegEntryReturnsTheDataWithItsTerminatingZero) {
  Put(reg::kLocalMachine, kFlash, "CurrentVersion", reg::kRegSz, std::string("10,0,32,18\0", 11));
  std::int32_t type = 0;
  const std::wstring text = module_.GetRegEntry(L"HKEY_LOCAL_MACHINE", L"SOFTWARE\\Macromedia\\FlashPlayer",
                                                L"CurrentVersion", type);
  EXPECT_EQ(text, std::wstring(L"10,0,32,18\0", 11));
  EXPECT_EQ(type, 1);
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ReadProcedures, GetRegEntryGivesOtherTypesAsRawBytes) {
  Put(reg::kCurrentUser, "Software\\K", "dw", reg::kRegDword, Dword(0x41424344));
  Put(reg::kCurrentUser, "Software\\K", "empty", reg::kRegBinary, "");
  Put(reg::kCurrentUser, "Software\\K", "multi", reg::kRegMultiSz, std::string("a\0b\0\0", 5));
  std::int32_t type = 0;
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"dw", type), L"DCBA");
  EXPECT_EQ(type, 4);
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"empty", type), L"");
  EXPECT_EQ(type, 3);
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"multi", type), std::wstring(L"a\0b\0\0", 5));
  EXPECT_EQ(type, 7);
}

TEST_F(ReadProcedures, GetRegEntryLeavesTheTypeAloneWhenNothingCanBeRead) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  std::int32_t type = 42;
  EXPECT_EQ(module_.GetRegEntry(L"hkey_current_user", L"Software\\K", L"v", type), L"");
  EXPECT_EQ(module_.GetRegEntry(L" HKEY_CURRENT_USER", L"Software\\K", L"v", type), L"");
  EXPECT_EQ(module_.GetRegEntry(L"HKCU", L"Software\\K", L"v", type), L"");
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\Missing", L"v", type), L"");
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"missing", type), L"");
  EXPECT_EQ(type, 42);
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(ReadProcedures, GetRegEntryReadsTheDefaultValueByTheEmptyName) {
  Put(reg::kClassesRoot, "CLSID\\{X}", "", reg::kRegSz, std::string("Bar\0", 4));
  std::int32_t type = 0;
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CLASSES_ROOT", L"CLSID\\{X}", L"", type), std::wstring(L"Bar\0", 4));
}

TEST_F(ReadProcedures, GetRegEntryMarksAFailedCloseWithMinusOne) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  registry_.InjectFault({RegOp::kCloseKey, "HKEY_CURRENT_USER\\Software\\K", 6});
  std::int32_t type = 0;
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"v", type), std::wstring(L"x\0", 2));
  EXPECT_EQ(type, -1);
}

TEST_F(ReadProcedures, GetRegEntryTrapsARunTimeErrorWithItsBox) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("x\0", 2));
  registry_.InjectFault({RegOp::kQueryValue, "", 5, true});
  std::int32_t type = 1;
  EXPECT_EQ(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"v", type), L"");
  EXPECT_EQ(type, -1);
  ASSERT_EQ(desktop_.messages().size(), 1u);
  const ShownMessage& box = desktop_.messages()[0];
  EXPECT_EQ(box.title, L"GenUtils/GetRegEntry");
  EXPECT_EQ(box.flags, 0x10u);
  EXPECT_EQ(box.text, L"5>  " + DescribeRuntimeError(5));
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ReadProcedures, ReadRegValueConvertsStringsAndNumbers) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, std::string("8.0.6001.18702\0", 15));
  Put(reg::kLocalMachine, kIe, "Big", reg::kRegDword, Dword(0x10000));
  Put(reg::kLocalMachine, kIe, "Minus", reg::kRegDword, Dword(0xFFFFFFFF));
  Put(reg::kLocalMachine, kIe, "Expand", reg::kRegExpandSz, std::string("%x%\0", 4));
  Put(reg::kLocalMachine, kIe, "Bin", reg::kRegBinary, "abc");
  Put(reg::kLocalMachine, kIe, "Multi", reg::kRegMultiSz, std::string("a\0\0", 3));
  Put(reg::kLocalMachine, kIe, "Inner", reg::kRegSz, std::string("ab\0cd\0", 6));
  Put(reg::kLocalMachine, kIe, "Short", reg::kRegDword, std::string("\x05\x01", 2));
  Put(reg::kLocalMachine, kIe, "Long", reg::kRegDword, std::string(8, '\x01'));
  const auto read = [&](const wchar_t* name) { return module_.ReadRegValue(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", name); };
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
  EXPECT_EQ(module_.ReadRegValue(reg::kLocalMachine, L"SOFTWARE\\Nowhere", L"Version"), L"");
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ReadProcedures, ReadRegValueOfAStringWithoutZeroIsEveryByteStored) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, "8.0");
  EXPECT_EQ(module_.ReadRegValue(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version"), L"8.0");
  const std::string whitelist = "|" + std::string(9998, 'w') + "|";  // as the policy writer cuts a long one
  Put(reg::kCurrentUser, "Software\\G", "PopupBlockerWhitelist", reg::kRegSz, whitelist);
  EXPECT_EQ(module_.ReadRegValue(reg::kCurrentUser, L"Software\\G", L"PopupBlockerWhitelist"),
            std::wstring(whitelist.begin(), whitelist.end()));
  Put(reg::kCurrentUser, "Software\\G", "empty", reg::kRegSz, "");
  EXPECT_EQ(module_.ReadRegValue(reg::kCurrentUser, L"Software\\G", L"empty"), L"");
}

TEST_F(ReadProcedures, ReadRegValueNeedsOnlyTheRightToRead) {
  Put(reg::kLocalMachine, kIe, "Version", reg::kRegSz, std::string("7.0\0", 4));
  registry_.MarkReadOnly("HKEY_LOCAL_MACHINE\\" + kIe);
  EXPECT_EQ(module_.ReadRegValue(reg::kLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version"), L"7.0");
  for (const RegCall& call : registry_.journal())
    if (call.op == RegOp::kOpenKeyEx) {
      EXPECT_EQ(call.status, reg::kSuccess);
    }
}

TEST_F(ReadProcedures, QueryRegValueDataReportsStatusAndLeavesDataOnFailure) {
  Put(reg::kCurrentUser, "Software\\K", "bin", reg::kRegBinary, "abc");
  Put(reg::kCurrentUser, "Software\\K", "num", reg::kRegDword, Dword(7));
  HKey key = 0;
  ASSERT_EQ(registry_.OpenKey(reg::kCurrentUser, "Software\\K", &key), reg::kSuccess);
  RegData data = std::wstring(L"before");
  EXPECT_EQ(module_.QueryRegValueData(key, L"missing", data), reg::kFileNotFound);
  EXPECT_EQ(std::get<std::wstring>(data), L"before");
  EXPECT_EQ(module_.QueryRegValueData(key, L"bin", data), -1);
  EXPECT_EQ(std::get<std::wstring>(data), L"before");
  EXPECT_EQ(module_.QueryRegValueData(key, L"num", data), reg::kSuccess);
  EXPECT_EQ(std::get<std::int32_t>(data), 7);
  registry_.InjectFault({RegOp::kQueryValue, "", 3, true, 1});
  data = std::wstring(L"kept");
  EXPECT_EQ(module_.QueryRegValueData(key, L"num", data), reg::kSuccess);  // trapped after the probe
  EXPECT_EQ(std::get<std::wstring>(data), L"kept");
  EXPECT_TRUE(desktop_.messages().empty());
  registry_.CloseKey(key);
}

TEST_F(ReadProcedures, QueryRegValueDataEmptiesTheDataWhenTheStringReadFails) {
  Put(reg::kCurrentUser, "Software\\K", "s", reg::kRegSz, std::string("abc\0", 4));
  HKey key = 0;
  ASSERT_EQ(registry_.OpenKey(reg::kCurrentUser, "Software\\K", &key), reg::kSuccess);
  registry_.InjectFault({RegOp::kQueryValue, "", 1018, false, 1});
  RegData data = std::wstring(L"before");
  EXPECT_EQ(module_.QueryRegValueData(key, L"s", data), 1018);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(data));
  registry_.CloseKey(key);
}

TEST_F(ReadProcedures, RegKeyExists) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegDword, Dword(1));
  EXPECT_TRUE(module_.RegKeyExists(L"HKEY_CURRENT_USER", L"Software\\K"));
  EXPECT_TRUE(module_.RegKeyExists(L"HKEY_CURRENT_USER", L"software\\k"));
  EXPECT_FALSE(module_.RegKeyExists(L"HKEY_CURRENT_USER", L"Software\\Missing"));
  registry_.ClearJournal();
  EXPECT_TRUE(module_.RegKeyExists(L"hkey_current_user", L"Software\\Missing"));
  EXPECT_TRUE(registry_.journal().empty());
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ReadProcedures, GetRegValueNameGivesTheLastName) {
  Put(reg::kCurrentUser, "Software\\D\\a", "http", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "Software\\D\\a", "https", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "Software\\D\\b", "*", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "Software\\D\\big", "http", reg::kRegSz, std::string(400, 'x'));
  HKey none = 0;
  ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, "Software\\D\\none", &none), reg::kSuccess);
  registry_.CloseKey(none);
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\a"), L"https");
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\b"), L"*");
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\big"), L"http");  // data too big still counts
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\none"), L"");
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\missing"), L"");
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_USERS ", L"Software\\D\\a"), L"");
}

TEST_F(ReadProcedures, EnumerationThatKeepsFailingEnds) {
  Put(reg::kCurrentUser, "Software\\D\\a", "http", reg::kRegDword, Dword(2));
  registry_.InjectFault({RegOp::kEnumValue, "", 1018});
  EXPECT_EQ(module_.GetRegValueName(L"HKEY_CURRENT_USER", L"Software\\D\\a"), L"");
  EXPECT_EQ(module_.ScanRegValues(L"HKEY_CURRENT_USER", L"Software\\D\\a", L"Ranges"), L"");
}

TEST_F(ReadProcedures, ScanForToolbarNamesLooksAtEveryValueText) {
  Put(reg::kClassesRoot, "CLSID\\{A}", "", reg::kRegSz, std::string("Yahoo! toolbar Helper\0", 22));
  Put(reg::kClassesRoot, "CLSID\\{A}", "n", reg::kRegDword, Dword(0x4f4f54));
  Put(reg::kClassesRoot, "CLSID\\{B}", "", reg::kRegSz, std::string("Shockwave Flash Object\0", 23));
  Put(reg::kClassesRoot, "CLSID\\{C}", "", reg::kRegSz, std::string("My TOOLBAR\0", 11));
  Put(reg::kClassesRoot, "CLSID\\{C}", "Other", reg::kRegSz, std::string("Second Toolbar name\0", 20));
  Put(reg::kClassesRoot, "CLSID\\{D}", "", reg::kRegSz, std::string(300, 'x') + "Toolbar");
  const auto scan = [&](const wchar_t* path) { return module_.ScanRegValues(L"HKEY_CLASSES_ROOT", path, L"GetData"); };
  EXPECT_EQ(scan(L"CLSID\\{A}"), L"Yahoo! toolbar Helper");
  EXPECT_EQ(scan(L"CLSID\\{B}"), L"");
  EXPECT_EQ(scan(L"CLSID\\{C}"), L"Second Toolbar name");
  EXPECT_EQ(scan(L"CLSID\\{D}"), L"");  // the marker lies beyond the 255-byte buffer
  EXPECT_EQ(scan(L"CLSID\\{Missing}"), L"");
  EXPECT_EQ(module_.ScanRegValues(L"HKEY_CLASSES_ROOT", L"CLSID\\{A}", L"getdata"), L"");
  EXPECT_EQ(registry_.open_handle_count(), 0u);
}

TEST_F(ReadProcedures, ScanForRangeSchemeGivesTheLastNameOtherThanRange) {
  Put(reg::kCurrentUser, "R\\Range1", ":Range", reg::kRegSz, std::string("10.0.0.5\0", 9));
  Put(reg::kCurrentUser, "R\\Range1", "http", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "R\\Range1", "https", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "R\\Range2", "https", reg::kRegDword, Dword(2));
  Put(reg::kCurrentUser, "R\\Range2", ":Range", reg::kRegSz, std::string("10.0.0.6\0", 9));
  Put(reg::kCurrentUser, "R\\Range3", ":Range", reg::kRegSz, std::string("10.0.0.7\0", 9));
  Put(reg::kCurrentUser, "R\\Range4", ":range", reg::kRegSz, std::string("10.0.0.8\0", 9));
  const auto scan = [&](const wchar_t* path) { return module_.ScanRegValues(L"HKEY_CURRENT_USER", path, L"Ranges"); };
  EXPECT_EQ(scan(L"R\\Range1"), L"https");
  EXPECT_EQ(scan(L"R\\Range2"), L"https");
  EXPECT_EQ(scan(L"R\\Range3"), L"");
  EXPECT_EQ(scan(L"R\\Range4"), L":range");  // the comparison is exact
  registry_.ClearJournal();
  EXPECT_EQ(module_.ScanRegValues(L"HKEY_CURRENT_USERS", L"R\\Range1", L"Ranges"), L"");
  EXPECT_TRUE(registry_.journal().empty());
}

class GbkReads : public RegistryTest {
 protected:
  GbkReads() : RegistryTest(gbk_.get()) {}
  static inline std::unique_ptr<TextCodec> gbk_ = MakeGbkCodec();
};

TEST_F(GbkReads, ChineseToolbarMarkerIsFoundInGbkData) {
  const std::string text = gbk_->ToAnsi(L"百度工具栏组件") + '\0';
  Put(reg::kClassesRoot, "CLSID\\{B}", "", reg::kRegSz, text);
  EXPECT_EQ(module_.ScanRegValues(L"HKEY_CLASSES_ROOT", L"CLSID\\{B}", L"GetData"), L"百度工具栏组件");
}

TEST_F(GbkReads, InvalidSequencesDoNotBreakTheRead) {
  Put(reg::kCurrentUser, "Software\\K", "v", reg::kRegSz, std::string("\xff\xff" " abc\0", 7));
  EXPECT_NO_THROW(module_.ReadRegValue(reg::kCurrentUser, L"Software\\K", L"v"));
  std::int32_t type = 0;
  EXPECT_NE(module_.GetRegEntry(L"HKEY_CURRENT_USER", L"Software\\K", L"v", type).find(L"abc"), std::wstring::npos);
}

}  // namespace
}  // namespace kelpo::testing
