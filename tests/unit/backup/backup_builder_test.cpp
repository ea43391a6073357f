// The backup builder on the in-memory registry: what it writes for trees, single values and an
// imported script, and that importing the backup after an apply gives back the registry as it
// was, judged on a model of regedit's import.
#include <gtest/gtest.h>

#include <map>

#include "backup/backup_builder.h"
#include "backup/registry_script_reader.h"
#include "backup/registry_script_writer.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/unicode.h"
#include "support/raw_data_printer.h"
#include "unit/backup/registry_model.h"

namespace kelpo {
namespace {

using testing::RegistryModel;

std::string Utf16(const std::wstring& text) { return Utf16LeBytes(ToUtf16(text)) + std::string(2, '\0'); }
std::string Dword(std::uint32_t number) { return std::string(reinterpret_cast<const char*>(&number), 4); }

constexpr const wchar_t* kDomains = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
constexpr const wchar_t* kRanges = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
constexpr const wchar_t* kBaidu = L"Software\\Baidu\\BaiduBar\\WhiteList";
constexpr const wchar_t* kAddOns = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
constexpr const wchar_t* kZone2 = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
constexpr const wchar_t* kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
constexpr const wchar_t* kTabs = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
constexpr const wchar_t* kGoogle = L"Software\\Google\\Google Toolbar\\4.0\\Options";

class BackupBuilderTest : public ::testing::Test {
 protected:
  void Put(const std::wstring& key, const std::wstring& name, std::uint32_t type, const std::string& ansi_bytes) {
    HKey handle = 0;
    ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, codec_.ToAnsi(key), &handle), reg::kSuccess);
    ASSERT_EQ(registry_.SetValue(handle, codec_.ToAnsi(name), type,
                                 reinterpret_cast<const std::uint8_t*>(ansi_bytes.data()),
                                 static_cast<std::uint32_t>(ansi_bytes.size())),
              reg::kSuccess);
    registry_.CloseKey(handle);
  }
  void MakeKey(const std::wstring& key) {
    HKey handle = 0;
    ASSERT_EQ(registry_.CreateKey(reg::kCurrentUser, codec_.ToAnsi(key), &handle), reg::kSuccess);
    registry_.CloseKey(handle);
  }
  static std::wstring User(const std::wstring& path) { return L"HKEY_CURRENT_USER\\" + path; }
  static KeyLocation At(const std::wstring& path) { return {reg::kCurrentUser, path}; }

  // A registry with something of everything an apply touches.
  void FillRichRegistry() {
    Put(kDomains + std::wstring(L"\\example.com\\www"), L"http", reg::kRegDword, Dword(2));
    Put(kDomains + std::wstring(L"\\example.com\\www"), L"https", reg::kRegDword, Dword(2));
    Put(kDomains + std::wstring(L"\\intranet"), L"*", reg::kRegDword, Dword(1));  // another zone
    Put(kDomains + std::wstring(L"\\例子.cn"), L"http", reg::kRegDword, Dword(4));
    MakeKey(kDomains + std::wstring(L"\\empty"));
    Put(kRanges + std::wstring(L"\\Range1"), L":Range", reg::kRegSz, std::string("192.168.0.1", 11));  // no zero
    Put(kRanges + std::wstring(L"\\Range1"), L"http", reg::kRegDword, Dword(2));
    Put(kBaidu, L"a\"b\\c]", reg::kRegSz, std::string("x\0", 2));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"Flags", reg::kRegDword, Dword(1));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"Version", reg::kRegSz, "*");
    Put(kAddOns + std::wstring(L"\\{1234}"), L"List", reg::kRegMultiSz, std::string("a\0b\0\0", 5));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"Path", reg::kRegExpandSz, std::string("%TEMP%\0", 7));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"Blob", reg::kRegBinary, std::string(90, '\xEE'));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"Big", reg::kRegQword, std::string(8, '\x01'));
    Put(kAddOns + std::wstring(L"\\{1234}"), L"", reg::kRegSz, std::string("工具栏\0", 10));
    Put(kZone2, L"Flags", reg::kRegDword, Dword(0x47));
    Put(kZone2, L"1409", reg::kRegDword, Dword(3));
    Put(kNewWindows, L"PopupMgr", reg::kRegSz, std::string("yes\0", 4));
    Put(L"Software\\Google\\Google Toolbar\\4.0", L"Installed", reg::kRegDword, Dword(1));
    Put(L"Software\\Vendor\\Existing", L"keep", reg::kRegSz, std::string("old\0", 4));
    Put(L"Software\\Vendor\\Existing", L"over", reg::kRegDword, Dword(9));
  }

  // What TrustedSites.reg writes in the scenario.
  static RegistryScript TrustedSitesScript() {
    return {{
        {User(kDomains) + L"\\fromscript.com", false, {{L"https", false, RawData{reg::kRegDword, Dword(2)}}}},
        {User(L"Software\\Vendor\\Existing"),
         false,
         {{L"over", false, RawData{reg::kRegSz, Utf16(L"new")}},
          {L"added", false, RawData{reg::kRegDword, Dword(1)}},
          {L"keep", true, std::nullopt}}},
        {User(L"Software\\NewVendor\\App\\Settings"), false, {{L"on", false, RawData{reg::kRegDword, Dword(1)}}}},
        {User(L"Software\\Vendor\\Doomed"), true, {}},
        {L"HKCU\\Software\\Vendor\\Short", false, {}},
    }};
  }

  ApplyChanges ApplyOfTheScenario() {
    ApplyChanges changes;
    changes.replaced_trees = {At(kRanges), At(kBaidu), At(kDomains), At(kAddOns)};
    changes.written_values = {{At(kNewWindows), L"PopupMgr"}, {At(kTabs), L"PopupsUseNewWindow"},
                              {At(kZone2), L"Flags"},        {At(kZone2), L"120B"},
                              {At(kZone2), L"1409"},         {At(kGoogle), L"PopupBlockerWhitelist"}};
    changes.imported_script = TrustedSitesScript();
    return changes;
  }

  // What the apply does to the registry, as a script: trees cleared and rewritten, values set.
  static RegistryScript WhatTheApplyWrites() {
    return {{
        {User(kDomains), true, {}},
        {User(kRanges), true, {}},
        {User(kBaidu), true, {}},
        {User(kAddOns), true, {}},
        {User(kDomains) + L"\\new.com\\www", false, {{L"http", false, RawData{reg::kRegDword, Dword(2)}}}},
        {User(kRanges) + L"\\Range1", false, {{L":Range", false, RawData{reg::kRegSz, Utf16(L"10.0.0.1")}}}},
        {User(kBaidu), false, {{L"new.com", false, RawData{reg::kRegSz, Utf16(L"")}}}},
        {User(kAddOns) + L"\\{9999}", false, {{L"Flags", false, RawData{reg::kRegDword, Dword(1)}}}},
        {User(kNewWindows), false, {{L"PopupMgr", false, RawData{reg::kRegSz, Utf16(L"no")}}}},
        {User(kTabs), false, {{L"PopupsUseNewWindow", false, RawData{reg::kRegDword, Dword(0)}}}},
        {User(kZone2),
         false,
         {{L"Flags", false, RawData{reg::kRegDword, Dword(0x43)}},
          {L"120B", false, RawData{reg::kRegDword, Dword(3)}},
          {L"1409", false, RawData{reg::kRegDword, Dword(0)}}}},
        {User(kGoogle), false, {{L"PopupBlockerWhitelist", false, RawData{reg::kRegSz, Utf16(L"|new.com|")}}}},
    }};
  }

  SimRegistry registry_;
  Utf8Codec codec_;
};

TEST_F(BackupBuilderTest, ImportingTheBackupAfterTheApplyGivesBackTheRegistryAsItWas) {
  FillRichRegistry();
  Put(L"Software\\Vendor\\Doomed\\Child", L"v", reg::kRegDword, Dword(5));
  const RegistryModel before = RegistryModel::Snapshot(registry_);

  const Backup backup = BuildBackup(registry_, ApplyOfTheScenario());
  // ":Range" and the add-on's "Version" were stored without their zero.
  EXPECT_EQ(backup.notes, std::vector<std::wstring>{L"2 string value(s) stored without a terminating zero come back with one"});

  RegistryModel after = before;
  after.Import(TrustedSitesScript());
  after.Import(WhatTheApplyWrites());
  ASSERT_NE(after.keys, before.keys);
  after.Import(backup.script);
  EXPECT_EQ(after.keys, before.AsRegeditPutsItBack().keys);

  // The backup survives its own file: written and read back, it is the same script.
  EXPECT_EQ(ReadRegistryScript(EncodeRegistryScript(backup.script), codec_).script, backup.script);
}

TEST_F(BackupBuilderTest, ATreeIsRemovedThenWrittenWholeParentsFirst) {
  Put(kBaidu, L"b.com", reg::kRegSz, std::string("\0", 1));
  Put(kBaidu + std::wstring(L"\\Sub"), L"", reg::kRegDword, Dword(1));
  MakeKey(kBaidu + std::wstring(L"\\Sub\\Empty"));
  ApplyChanges changes;
  changes.replaced_trees = {At(kBaidu)};
  const Backup backup = BuildBackup(registry_, changes);
  const RegistryScript expected{{
      {User(kBaidu), true, {}},
      {User(kBaidu), false, {{L"b.com", false, RawData{reg::kRegSz, std::string(2, '\0')}}}},
      {User(kBaidu) + L"\\Sub", false, {{L"", false, RawData{reg::kRegDword, Dword(1)}}}},
      {User(kBaidu) + L"\\Sub\\Empty", false, {}},
  }};
  EXPECT_EQ(backup.script, expected);
}

TEST_F(BackupBuilderTest, WhatIsMissingIsRemovedFromItsHighestMissingKey) {
  MakeKey(L"Software\\Google");
  ApplyChanges changes;
  changes.replaced_trees = {At(kBaidu)};
  changes.written_values = {{At(kGoogle), L"PopupBlockerWhitelist"}, {At(kGoogle), L"Other"},
                            {At(L"Software\\Baidu\\BaiduBar"), L"x"}};
  const Backup backup = BuildBackup(registry_, changes);
  const RegistryScript expected{{
      {User(L"Software\\Baidu"), true, {}},
      {User(L"Software\\Google\\Google Toolbar"), true, {}},
  }};
  EXPECT_EQ(backup.script, expected);
}

TEST_F(BackupBuilderTest, SingleValuesAreBackedUpAsTheyAreOrAsAbsent) {
  Put(kZone2, L"Flags", reg::kRegDword, Dword(0x47));
  ApplyChanges changes;
  changes.written_values = {{At(kZone2), L"FLAGS"}, {At(kZone2), L"120B"}, {At(kZone2), L""},
                            {At(kZone2), L"flags"}};
  const Backup backup = BuildBackup(registry_, changes);
  const RegistryScript expected{{
      {User(kZone2),
       false,
       {{L"FLAGS", false, RawData{reg::kRegDword, Dword(0x47)}},
        {L"120B", true, std::nullopt},
        {L"", true, std::nullopt},
        {L"flags", false, RawData{reg::kRegDword, Dword(0x47)}}}},
  }};
  EXPECT_EQ(backup.script, expected);
}

TEST_F(BackupBuilderTest, TreesInsideTreesAndValuesInsideTreesAreBackedUpOnce) {
  Put(kAddOns + std::wstring(L"\\{1}"), L"Flags", reg::kRegDword, Dword(1));
  ApplyChanges changes;
  changes.replaced_trees = {At(kAddOns + std::wstring(L"\\{1}")), At(kAddOns), At(kAddOns)};
  changes.written_values = {{At(kAddOns + std::wstring(L"\\{1}")), L"Flags"}};
  changes.imported_script = {{{L"HKEY_CURRENT_USER\\" + std::wstring(kAddOns) + L"\\{1}\\Deeper", true, {}},
                              {L"HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\Ext", false, {}},
                              {L"HKEY_CURRENT_USER", true, {}},
                              {L"HKEY_NOWHERE\\x", true, {}}}};
  const Backup backup = BuildBackup(registry_, changes);
  const RegistryScript expected{{
      {User(kAddOns), true, {}},
      {User(kAddOns), false, {}},
      {User(kAddOns) + L"\\{1}", false, {{L"Flags", false, RawData{reg::kRegDword, Dword(1)}}}},
  }};
  EXPECT_EQ(backup.script, expected);
}

TEST_F(BackupBuilderTest, ATreeThatCannotBeReadWholeIsNeverRemovedByTheBackup) {
  Put(kAddOns + std::wstring(L"\\{1}"), L"Flags", reg::kRegDword, Dword(1));
  Put(kAddOns + std::wstring(L"\\{2}"), L"Flags", reg::kRegDword, Dword(2));
  Put(kAddOns + std::wstring(L"\\{3}"), L"bad\nname", reg::kRegDword, Dword(3));
  registry_.InjectFault({RegOp::kReadKeyRaw, "HKEY_CURRENT_USER\\" + codec_.ToAnsi(kAddOns) + "\\{2}", reg::kAccessDenied});
  ApplyChanges changes;
  changes.replaced_trees = {At(kAddOns)};
  const Backup backup = BuildBackup(registry_, changes);
  ASSERT_EQ(backup.notes.size(), 2u);
  EXPECT_NE(backup.notes[0].find(L"cannot read HKEY_CURRENT_USER\\" + std::wstring(kAddOns) + L"\\{2} (status 5)"),
            std::wstring::npos);
  EXPECT_NE(backup.notes[1].find(L"value name"), std::wstring::npos);
  for (const ScriptKey& section : backup.script.keys) EXPECT_FALSE(section.remove);
  // What could be read is still there.
  ASSERT_EQ(backup.script.keys.size(), 3u);
  EXPECT_EQ(backup.script.keys[1].path, User(kAddOns) + L"\\{1}");
  EXPECT_EQ(backup.script.keys[2].path, User(kAddOns) + L"\\{3}");
  EXPECT_TRUE(backup.script.keys[2].values.empty());
}

TEST_F(BackupBuilderTest, KeysAndValuesThatCannotBeReadAreNamedAsProblems) {
  Put(kZone2, L"Flags", reg::kRegDword, Dword(1));
  registry_.InjectFault({RegOp::kReadValueRaw, "", 5, false, 0, 1});
  registry_.InjectFault({RegOp::kProbeKeyRaw, "HKEY_CURRENT_USER\\Software\\Locked*", 5});
  ApplyChanges changes;
  changes.written_values = {{At(kZone2), L"Flags"}, {At(kZone2), L"1409"}, {At(L"Software\\Locked\\Key"), L"x"}};
  changes.replaced_trees = {At(L"Software\\Locked\\Tree")};
  const Backup backup = BuildBackup(registry_, changes);
  EXPECT_EQ(backup.notes.size(), 3u);
  const RegistryScript expected{{{User(kZone2), false, {{L"1409", true, std::nullopt}}}}};
  EXPECT_EQ(backup.script, expected);
}

}  // namespace
}  // namespace kelpo
