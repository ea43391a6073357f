// Under Wine: a backup of a scratch part of HKEY_CURRENT_USER holding every kind of value and
// name, imported with the system's `regedit /s` after the part was changed, puts every key and
// value back byte for byte, as the raw view reads them. Only the Windows build has it. The
// scratch key lies in the prefix's real HKEY_CURRENT_USER, since the registry editor runs as a
// process of its own, where this process's redirection does not reach; it is removed after.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "backup/backup_builder.h"
#include "backup/registry_script_writer.h"
#include "platform/unicode.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_raw_registry.h"
#include "support/raw_data_printer.h"

namespace kelpo {
namespace {

std::string Bytes(const std::wstring& text, bool zero = true) {
  return Utf16LeBytes(ToUtf16(text)) + (zero ? std::string(2, '\0') : std::string());
}

// Every key below a path, with its values, names as stored.
using Tree = std::map<std::wstring, std::map<std::wstring, RawData>>;

// regedit (Windows' and Wine's) ends the data of a string type with a zero character when it
// lacks one: a string stored without its zero comes back with it. Nothing else changes.
Tree AsRegeditPutsItBack(Tree tree) {
  for (auto& [key, values] : tree) {
    for (auto& [name, data] : values) {
      const bool string_type = data.type == REG_SZ || data.type == REG_EXPAND_SZ || data.type == REG_MULTI_SZ;
      const std::size_t size = data.bytes.size();
      if (string_type && size >= 2 && size % 2 == 0 && (data.bytes[size - 1] != 0 || data.bytes[size - 2] != 0))
        data.bytes += std::string(2, '\0');
    }
  }
  return tree;
}

class BackupRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = L"Software\\KelpoBackupRoundTrip\\" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    file_ = std::wstring(temp) + L"kelpo_round_trip_" + std::to_wstring(GetCurrentProcessId()) + L".reg";
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    DeleteFileW(file_.c_str());
  }

  std::wstring Path(const std::wstring& below) const { return below.empty() ? scratch_ : scratch_ + L"\\" + below; }

  void MakeKey(const std::wstring& below) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void Set(const std::wstring& below, const std::wstring& name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path(below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    // Through a buffer one byte longer than the data, its last byte not zero: the registry
    // stores exactly the bytes given (a zero after the data would be stored too).
    std::string buffer = bytes + "\x01\x01";
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  Tree Read(const std::wstring& below) {
    Tree tree;
    ReadInto(Path(below), below, &tree);
    return tree;
  }
  void ReadInto(const std::wstring& path, const std::wstring& below, Tree* tree) {
    RawKey key;
    const RegStatus status = raw_.ReadKey(reg::kCurrentUser, path, &key);
    if (status == reg::kFileNotFound) return;
    ASSERT_EQ(status, reg::kSuccess);
    auto& values = (*tree)[below];
    for (const RawValue& value : key.values) values[value.name] = value.data;
    for (const std::wstring& name : key.subkeys)
      ReadInto(path + L"\\" + name, below.empty() ? name : below + L"\\" + name, tree);
  }

  // Runs `regedit /s` on the file and waits for it.
  void Import(const std::wstring& file) {
    std::wstring command = L"regedit.exe /s \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  void SaveBackup(const ApplyChanges& changes) {
    const Backup backup = BuildBackup(raw_, changes);
    notes_ = backup.notes;
    ASSERT_TRUE(files_.WriteWholeFile(file_, EncodeRegistryScript(backup.script)));
  }

  KeyLocation At(const std::wstring& below) const { return {reg::kCurrentUser, Path(below)}; }

  Win32RawRegistry raw_;
  Win32FileSystem files_;
  std::wstring scratch_;
  std::wstring file_;
  std::vector<std::wstring> notes_;
};

TEST_F(BackupRoundTrip, ATreeOfEveryKindOfValueAndNameComesBackByteForByte) {
  const std::wstring tree = L"Tree";
  Set(tree, L"sz", REG_SZ, Bytes(L"C:\\Program Files\\\"quoted\""));
  Set(tree, L"szNoZero", REG_SZ, Bytes(L"192.168.100.100", false));
  Set(tree, L"szInnerZero", REG_SZ, Bytes(std::wstring(L"a\0b", 3)));
  Set(tree, L"szEmpty", REG_SZ, "");
  Set(tree, L"szLines", REG_SZ, Bytes(L"one\r\ntwo"));
  Set(tree, L"szChinese", REG_SZ, Bytes(L"可信站点"));
  Set(tree, L"expand", REG_EXPAND_SZ, Bytes(L"%SystemRoot%\\x"));
  Set(tree, L"expandNoZero", REG_EXPAND_SZ, Bytes(L"%TEMP%", false));
  Set(tree, L"multi", REG_MULTI_SZ, Utf16LeBytes(std::u16string_view(u"one\0two\0\0", 9)));
  Set(tree, L"binary", REG_BINARY, std::string(300, '\xA5'));
  Set(tree, L"binaryEmpty", REG_BINARY, "");
  Set(tree, L"dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
  Set(tree, L"dwordShort", REG_DWORD, std::string("\x01\x02", 2));
  Set(tree, L"qword", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  Set(tree, L"none", REG_NONE, std::string("\x00\x01", 2));
  Set(tree, L"other", 0x42, std::string("\x2A", 1));
  Set(tree, L"", REG_SZ, Bytes(L"default"));
  Set(tree, L"名称\"with\\quote]", REG_DWORD, std::string(4, '\x07'));
  Set(tree, L"@", REG_SZ, Bytes(L"at"));
  Set(tree + L"\\可信站点", L"http", REG_DWORD, std::string("\x02\0\0\0", 4));
  Set(tree + L"\\a]b", L"", REG_EXPAND_SZ, Bytes(L"x"));
  Set(tree + L"\\quote\"d\\deeper", L"v", REG_SZ, Bytes(L"v"));
  MakeKey(tree + L"\\empty");
  const Tree before = Read(tree);

  ApplyChanges changes;
  changes.replaced_trees = {At(tree)};
  SaveBackup(changes);

  // The apply: the tree deleted and rewritten differently.
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Path(tree).c_str()), ERROR_SUCCESS);
  Set(tree + L"\\new", L"sz", REG_SZ, Bytes(L"new"));
  Set(tree, L"dword", REG_DWORD, std::string(4, '\0'));
  ASSERT_NE(Read(tree), before);

  Import(file_);
  EXPECT_EQ(Read(tree), AsRegeditPutsItBack(before));
  EXPECT_EQ(notes_, std::vector<std::wstring>{L"2 string value(s) stored without a terminating zero come back with one"});
}

TEST_F(BackupRoundTrip, SingleValuesAndMissingKeysComeBackAsTheyWere) {
  Set(L"Single", L"present", REG_SZ, Bytes(L"old", false));
  Set(L"Single", L"", REG_DWORD, std::string(4, '\x01'));
  MakeKey(L"Other");
  const Tree before = Read(L"");

  ApplyChanges changes;
  changes.written_values = {{At(L"Single"), L"present"}, {At(L"Single"), L"absent"}, {At(L"Single"), L""},
                            {At(L"Missing\\Deep"), L"x"}, {At(L"Other"), L""}};
  SaveBackup(changes);

  Set(L"Single", L"present", REG_DWORD, std::string(4, '\0'));
  Set(L"Single", L"absent", REG_SZ, Bytes(L"new"));
  Set(L"Single", L"", REG_SZ, Bytes(L"new default"));
  Set(L"Missing\\Deep", L"x", REG_SZ, Bytes(L"x"));
  Set(L"Other", L"", REG_SZ, Bytes(L"new default"));
  ASSERT_NE(Read(L""), before);

  Import(file_);
  EXPECT_EQ(Read(L""), AsRegeditPutsItBack(before));
}

// A string of an odd number of bytes has no form regedit puts back: Wine's regedit reads the
// units of such data, so its last byte is lost under the zero it adds. The backup still names
// the value, with its type and every whole unit.
TEST_F(BackupRoundTrip, AStringOfAnOddSizeComesBackWithItsWholeUnits) {
  Set(L"Odd", L"sz", REG_SZ, std::string("abc", 3));
  ApplyChanges changes;
  changes.written_values = {{At(L"Odd"), L"sz"}};
  SaveBackup(changes);
  Set(L"Odd", L"sz", REG_DWORD, std::string(4, '\0'));
  Import(file_);
  RawValue value;
  ASSERT_EQ(raw_.ReadValue(reg::kCurrentUser, Path(L"Odd"), L"sz", &value), reg::kSuccess);
  EXPECT_EQ(value.data.type, static_cast<std::uint32_t>(REG_SZ));
  ASSERT_GE(value.data.bytes.size(), 4u);
  EXPECT_EQ(value.data.bytes.substr(0, 4), std::string("ab\0\0", 4));
}

}  // namespace
}  // namespace kelpo
#endif  // _WIN32
