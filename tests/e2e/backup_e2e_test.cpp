// The backup and the log of kelpo.exe's applies, judged by the real registry of the Wine prefix:
// on a registry holding something of everything an apply changes, and with a registry script
// that writes keys of its own, the registry is read before the apply, the program applies, the
// backup its log names is imported with `regedit /s`, and every key and value the apply or the
// script touched is read again: as before. Read through the registry calls, never through
// `regedit /e`, which drops a character.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "e2e/kelpo_fixture.h"
#include "e2e/program_data.h"

namespace e2e {
namespace {

const std::wstring kEscDomains = kZoneMap + L"\\EscDomains";
const std::wstring kEscRanges = kZoneMap + L"\\EscRanges";
const std::wstring kBaidu = L"Software\\Baidu";
const std::wstring kGoogle = L"Software\\Google";
const std::wstring kVendor = L"Software\\KelpoE2EVendor";       // the registry script's own keys
const std::wstring kMachineVendor = L"SOFTWARE\\KelpoE2EVendor";  // below HKEY_LOCAL_MACHINE

// --- The registry as it is stored, in the view regedit imports into. ---

REGSAM ViewOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0; }

struct Data {
  DWORD type = 0;
  std::string bytes;
  friend bool operator==(const Data&, const Data&) = default;
};
// Every key at and below a key, by its path below the root, with its values by name.
using Tree = std::map<std::wstring, std::map<std::wstring, Data>>;

void ReadInto(HKEY root, const std::wstring& path, Tree* tree) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | ViewOf(root), &key) != ERROR_SUCCESS) return;
  auto& values = (*tree)[path];
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name, length);
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD length = 16384;
    DWORD type = 0;
    BYTE data[65536];
    DWORD size = sizeof data;
    if (RegEnumValueW(key, i, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    values[std::wstring(name, length)] = {type, std::string(reinterpret_cast<const char*>(data), size)};
  }
  RegCloseKey(key);
  for (const std::wstring& name : subkeys) ReadInto(root, path + L"\\" + name, tree);
}

Tree Read(HKEY root, const std::wstring& path) {
  Tree tree;
  ReadInto(root, path, &tree);
  return tree;
}

// regedit ends a string type's data with a zero character when it lacks one: a string stored
// without its zero comes back with it, the one thing no registry script can say otherwise.
Tree AsRegeditPutsItBack(Tree tree) {
  for (auto& [key, values] : tree)
    for (auto& [name, data] : values) {
      const bool string_type = data.type == REG_SZ || data.type == REG_EXPAND_SZ || data.type == REG_MULTI_SZ;
      const std::size_t size = data.bytes.size();
      if (string_type && size >= 2 && size % 2 == 0 && (data.bytes[size - 1] != 0 || data.bytes[size - 2] != 0))
        data.bytes += std::string(2, '\0');
    }
  return tree;
}

// Exactly these bytes: the buffer goes on past the data with a byte that is not zero, so no
// terminating zero is stored that the data leaves out.
bool Write(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const std::string& bytes) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | ViewOf(root), nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const std::string buffer = bytes + "\x01\x01";
  const LONG status = RegSetValueExW(created, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                                     static_cast<DWORD>(bytes.size()));
  RegCloseKey(created);
  return status == ERROR_SUCCESS;
}

std::string Wide(const std::wstring& text, bool zero = true) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2) + (zero ? std::string(2, '\0') : "");
}
std::string Dword(DWORD number) { return std::string(reinterpret_cast<const char*>(&number), 4); }

void DeleteTree(HKEY root, const std::wstring& key) {
  HKEY parent = nullptr;
  if (RegOpenKeyExW(root, L"", 0, KEY_ALL_ACCESS | ViewOf(root), &parent) != ERROR_SUCCESS) return;
  RegDeleteTreeW(parent, key.c_str());
  RegCloseKey(parent);
}

// Something of everything an apply changes: a zone map of every zone with escape keys, both
// white-lists, an add-on setting and a toolbar add-on, options present (the pop-up blocker of an
// unexpected type) and absent (the tab key as a whole), strings stored without their zero, names
// holding a quote, a backslash, "]" and Chinese; and keys of the registry script's own.
void SeedRichRegistry() {
  struct Value {
    HKEY root;
    std::wstring key;
    std::wstring name;
    DWORD type;
    std::string bytes;
  };
  const std::vector<Value> values = {
      {HKEY_CURRENT_USER, kDomains + L"\\local.example", L"*", REG_DWORD, Dword(0)},
      {HKEY_CURRENT_USER, kDomains + L"\\intranet", L"*", REG_DWORD, Dword(1)},
      {HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kDomains + L"\\internet.example", L"http", REG_DWORD, Dword(3)},
      {HKEY_CURRENT_USER, kDomains + L"\\blocked.example", L"http", REG_DWORD, Dword(4)},
      {HKEY_CURRENT_USER, kDomains + L"\\mixed.example", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kDomains + L"\\mixed.example", L"https", REG_DWORD, Dword(4)},
      {HKEY_CURRENT_USER, kDomains + L"\\例子.cn", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kRanges + L"\\Range1", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kRanges + L"\\Range1", L":Range", REG_SZ, Wide(L"10.0.0.2", false)},
      {HKEY_CURRENT_USER, kRanges + L"\\Range2", L"http", REG_DWORD, Dword(4)},
      {HKEY_CURRENT_USER, kRanges + L"\\Range2", L":Range", REG_SZ, Wide(L"10.0.0.4")},
      {HKEY_CURRENT_USER, kEscDomains + L"\\esc.example", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kEscRanges + L"\\Range1", L"http", REG_DWORD, Dword(2)},
      {HKEY_CURRENT_USER, kEscRanges + L"\\Range1", L":Range", REG_SZ, Wide(L"10.9.9.9")},
      {HKEY_CURRENT_USER, kBaidu + L"\\BaiduBar\\WhiteList", L"*old.example*", REG_DWORD, Dword(0)},
      {HKEY_CURRENT_USER, kBaidu + L"\\BaiduBar\\WhiteList", L"a\"b\\c]名", REG_SZ, Wide(L"x")},
      {HKEY_CURRENT_USER, kGoogle + L"\\Google Toolbar\\4.0\\Options", L"PopupBlockerWhitelist", REG_SZ,
       Wide(L"|old.example|")},
      {HKEY_CURRENT_USER, kGoogle + L"\\Google Toolbar\\4.0\\Options", L"OtherOption", REG_DWORD, Dword(7)},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"Flags", REG_DWORD, Dword(1)},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"Version", REG_SZ, Wide(L"*", false)},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"List", REG_MULTI_SZ, Wide(std::wstring(L"a\0b\0", 4))},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"Path", REG_EXPAND_SZ, Wide(L"%TEMP%\\x")},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"Blob", REG_BINARY, std::string(300, '\xA5')},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"Big", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
      {HKEY_CURRENT_USER, kAddonSettings + L"\\{OLD}", L"", REG_SZ, Wide(L"工具栏")},
      {HKEY_CURRENT_USER, kAddonStats + L"\\" + kToolbarId, L"Count", REG_DWORD, Dword(1)},
      {HKEY_CURRENT_USER, kPopupKey, L"PopupMgr", REG_SZ, Wide(L"yes")},
      {HKEY_CURRENT_USER, kZone2, L"Flags", REG_DWORD, Dword(0x47)},
      {HKEY_CURRENT_USER, kZone2, L"1409", REG_DWORD, Dword(3)},
      {HKEY_CURRENT_USER, kVendor + L"\\Existing", L"keep", REG_SZ, Wide(L"old")},
      {HKEY_CURRENT_USER, kVendor + L"\\Existing", L"over", REG_DWORD, Dword(9)},
      {HKEY_CURRENT_USER, kVendor + L"\\Doomed\\Child", L"v", REG_DWORD, Dword(5)},
  };
  for (const Value& value : values)
    ASSERT_TRUE(Write(value.root, value.key, value.name, value.type, value.bytes)) << value.name.size();
  ASSERT_TRUE(registry::WriteString(HKEY_CLASSES_ROOT, L"CLSID\\" + kToolbarId, L"", L"Zandrel Toolbar"));
}

// The script's keys: it changes and removes values of a key that exists, makes keys of its own
// (one below HKEY_LOCAL_MACHINE, which regedit writes in the 64-bit view), deletes a tree, adds a
// Trusted site and sets the zone's level.
const wchar_t kScriptKeys[] =
    L"[HKEY_CURRENT_USER\\Software\\KelpoE2EVendor\\Existing]\r\n"
    L"\"over\"=\"new\"\r\n"
    L"\"added\"=dword:00000001\r\n"
    L"\"keep\"=-\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\KelpoE2EVendor\\New\\Settings]\r\n"
    L"\"名称\\\"q\\\\b]\"=hex:01,02,03\r\n\r\n"
    L"[-HKEY_CURRENT_USER\\Software\\KelpoE2EVendor\\Doomed]\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\"
    L"script.example]\r\n\"https\"=dword:00000002\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2]\r\n"
    L"\"CurrentLevel\"=dword:00000000\r\n"
    L"\"1201\"=dword:00000000\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\KelpoE2EVendor\\Machine]\r\n"
    L"\"policy\"=\"值\"\r\n";

std::string Version5Script() {
  const std::wstring text = std::wstring(L"Windows Registry Editor Version 5.00\r\n\r\n") + kScriptKeys;
  return "\xFF\xFE" + Wide(text, false);
}

std::string Regedit4Script() {
  const std::wstring text = std::wstring(L"REGEDIT4\r\n\r\n") + kScriptKeys;
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size > 0 ? static_cast<int>(text.size()) : 0, bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

// Every key and value an apply or the script can touch.
std::map<std::wstring, Tree> Touched() {
  std::map<std::wstring, Tree> trees;
  for (const std::wstring& key : {kDomains, kRanges, kEscDomains, kEscRanges, kZone2, kAddonSettings, kBaidu, kGoogle,
                                  kPopupKey, kTabsKey, kVendor})
    trees[L"HKCU\\" + key] = Read(HKEY_CURRENT_USER, key);
  trees[L"HKLM\\" + kMachineVendor] = Read(HKEY_LOCAL_MACHINE, kMachineVendor);
  return trees;
}

std::map<std::wstring, Tree> AsRegeditPutsItBack(std::map<std::wstring, Tree> trees) {
  for (auto& [name, tree] : trees) tree = AsRegeditPutsItBack(tree);
  return trees;
}

// `regedit /s FILE`, as a user goes back, waited for.
bool ImportWithRegedit(const std::wstring& file) {
  std::wstring command = L"regedit.exe /s \"" + file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

class BackupAndLog : public KelpoRun {
 protected:
  void SetUp() override {
    KelpoRun::SetUp();
    Clean();
    std::error_code ignored;
    std::filesystem::remove_all(KelpoData(), ignored);
    SeedRichRegistry();
  }
  void TearDown() override { Clean(); }
  static void Clean() {
    DeleteTree(HKEY_CURRENT_USER, kVendor);
    DeleteTree(HKEY_LOCAL_MACHINE, kMachineVendor);
  }

  // Starts the program in a folder of its own with this registry script, the installer and the
  // example set-up file, or `setup_file` instead of it.
  static std::unique_ptr<ProgramRun> StartWithScript(const std::string& script, const std::string& setup_file = {}) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    auto run = std::make_unique<ProgramRun>(std::wstring(name.begin(), name.end()),
                                            std::vector<std::wstring>{kInstaller, kSetupFile});
    run->WriteFile(kTrustedSites, script);
    if (!setup_file.empty()) run->WriteFile(kSetupFile, setup_file);
    if (!run->Start()) ADD_FAILURE() << "kelpo.exe did not start";
    return run;
  }

  static HWND Completed(ProgramRun& run) {
    HWND info = WaitForWindow(run.pid(), L"设定完成", 60s);
    if (info != nullptr) Settle(info);
    return info;
  }
  static void CloseTheProgram(ProgramRun& run, HWND info) {
    Click(FindControl(info, L"btnClose"));
    ExpectEndsWithin(run, kExitPatience);
  }

  // After the apply: its log names the version and the backup, which, imported, puts back every
  // key and value touched as it was before.
  static void ExpectTheBackupUndoesTheApply(const std::map<std::wstring, Tree>& before, const std::wstring& apply,
                                            int strings_without_zero) {
    const std::vector<std::wstring> lines = LogLines();
    ASSERT_FALSE(lines.empty()) << "no log";
    EXPECT_EQ(lines[0], L"Kelpo " + ProgramVersion() + L": " + apply + L" begins");
    EXPECT_TRUE(Contains(lines, L"backup note: " + std::to_wstring(strings_without_zero) +
                                    L" string value(s) stored without a terminating zero come back with one"));
    const std::wstring backup = BackupNamedIn(lines);
    ASSERT_FALSE(backup.empty()) << "the log names no backup";
    EXPECT_EQ(std::filesystem::path(backup).parent_path(), KelpoData() / L"Backups");
    ASSERT_NE(Touched(), before) << "the apply changed nothing";
    ASSERT_TRUE(ImportWithRegedit(backup));
    const std::map<std::wstring, Tree> after = Touched();
    for (const auto& [name, tree] : AsRegeditPutsItBack(before)) {
      SCOPED_TRACE(std::string(name.begin(), name.end()));
      const Tree restored = AsRegeditPutsItBack(after.at(name));
      for (const auto& [key, values] : tree) {
        const auto found = restored.find(key);
        ASSERT_NE(found, restored.end()) << "a key did not come back";
        EXPECT_EQ(found->second, values) << "the values of a key did not come back";
      }
      EXPECT_EQ(restored.size(), tree.size()) << "keys the apply or the script made were left";
    }
  }
};

TEST_F(BackupAndLog, TheInteractiveApplyIsUndoneByTheBackupItsLogNames) {
  const std::map<std::wstring, Tree> before = Touched();
  auto run = StartWithScript(Version5Script());
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  Click(FindControl(main, L"btnOk"));
  const auto question = WaitForMessageBox(run->pid(), L"Internet 选项");
  ASSERT_TRUE(question.has_value());
  Answer(*question, IDYES);
  HWND info = Completed(*run);
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  CloseTheProgram(*run, info);

  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kMachineVendor + L"\\Machine").size(), 1u) << "the script's machine key";
  const std::vector<std::wstring> lines = LogLines();
  EXPECT_TRUE(Contains(lines, L"close the browser: done"));
  EXPECT_TRUE(Contains(lines, L"import the registry script: done"));
  EXPECT_TRUE(Contains(lines, L"write a site \"http://www.example.com\": done"));
  EXPECT_TRUE(Contains(lines, L"unload the trusted-sites window: done"));
  const bool totals = std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
    return line.rfind(L"report: ", 0) == 0 && line.find(L" succeeded, 0 failed, ") != std::wstring::npos;
  });
  EXPECT_TRUE(totals) << "the completion report's totals";
  // Ranges' address stored without its zero, and the add-on setting's "Version".
  ExpectTheBackupUndoesTheApply(before, L"interactive apply", 2);
}

class AutomaticBackupAndLog : public BackupAndLog {
 protected:
  void ApplyAndUndo(const std::string& site, int strings_without_zero) {
    const std::map<std::wstring, Tree> before = Touched();
    auto run = StartWithScript(Regedit4Script(), "Run=AUTO\r\nURL=" + site + "\r\n");
    HWND info = Completed(*run);
    ASSERT_NE(info, nullptr) << "the completion window did not open";
    CloseTheProgram(*run, info);
    EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, kMachineVendor + L"\\Machine").size(), 1u) << "the script's machine key";
    EXPECT_TRUE(Contains(LogLines(), L"update Flash Player: not needed"));
    ExpectTheBackupUndoesTheApply(before, L"automatic apply", strings_without_zero);
  }
};

// Domains and EscDomains get the site; Ranges is not backed up.
TEST_F(AutomaticBackupAndLog, ANameIsUndoneByTheBackupItsLogNames) { ApplyAndUndo("http://www.kelpo-e2e.example", 1); }

// Ranges and EscRanges get the site.
TEST_F(AutomaticBackupAndLog, AnAddressIsUndoneByTheBackupItsLogNames) { ApplyAndUndo("http://10.0.0.9", 2); }

TEST_F(BackupAndLog, WithoutABackupFolderTheApplyRunsAndTheLogSaysWhy) {
  std::filesystem::create_directories(KelpoData());
  std::ofstream(KelpoData() / L"Backups") << "a file where the folder belongs";
  std::unique_ptr<ProgramRun> run;
  HWND info = StartAutomatic(run, "Run=AUTO\r\nURL=http://www.kelpo-e2e.example\r\n");
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  CloseTheProgram(*run, info);
  EXPECT_EQ(registry::ReadDword(HKEY_CURRENT_USER, kDomains + L"\\kelpo-e2e.example\\www", L"http"), 2u);
  EXPECT_EQ(registry::ReadDword(HKEY_CURRENT_USER, kPopupKey, L"PopupMgr"), 0u);
  const std::vector<std::wstring> lines = LogLines();
  EXPECT_TRUE(Contains(lines, L"no backup: cannot create the folder " + (KelpoData() / L"Backups").wstring()));
  EXPECT_TRUE(Contains(lines, L"write the escape domain entry: done"));
  std::filesystem::remove(KelpoData() / L"Backups");
}

}  // namespace
}  // namespace e2e
