// What both applies leave behind, on the in-memory machine: a backup taken before the first
// change that, imported after the apply, gives back every key and value the apply and the
// registry script touched; a log that names the program's version, the backup, each step and
// the completion report's totals; and no failure of either that changes what the apply does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "apply/apply_journal.h"
#include "backup/registry_script_reader.h"
#include "platform/unicode.h"
#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "support/raw_data_printer.h"
#include "unit/apply/apply_fixture.h"
#include "unit/backup/registry_model.h"
#include "unit/logged_entries.h"
#include "unit/program_fixture.h"
#include "windows/completion_window.h"
#include "windows/start_up_window.h"

namespace kelpo::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::wstring kLog = kSimApplyLog;
const std::wstring kBackups = std::wstring(kSimLocalAppData) + L"\\Kelpo\\Backups";
const std::wstring kFirstBackup = kBackups + L"\\20240517-093000.reg";
const BrowserVersions kIe8{L"8.0.6001.18702", L"10.0.22.87"};

std::string Dword(std::uint32_t number) {
  return {static_cast<char>(number), static_cast<char>(number >> 8), static_cast<char>(number >> 16),
          static_cast<char>(number >> 24)};
}

bool IsStringType(std::uint32_t type) {
  return type == reg::kRegSz || type == reg::kRegExpandSz || type == reg::kRegMultiSz;
}

// A value as the ANSI calls store it; the raw view reads string types back in UTF-16.
void Put(ApplyMachine& machine, HKey root, const std::wstring& key, const std::wstring& name, std::uint32_t type,
         const std::string& bytes) {
  HKey handle = 0;
  ASSERT_EQ(machine.registry.CreateKey(root, machine.codec.ToAnsi(key), &handle), reg::kSuccess);
  machine.registry.SetValue(handle, machine.codec.ToAnsi(name), type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<std::uint32_t>(bytes.size()));
  machine.registry.CloseKey(handle);
}
void MakeKey(ApplyMachine& machine, HKey root, const std::wstring& key) {
  HKey handle = 0;
  ASSERT_EQ(machine.registry.CreateKey(root, machine.codec.ToAnsi(key), &handle), reg::kSuccess);
  machine.registry.CloseKey(handle);
}
void PutUser(ApplyMachine& machine, const std::wstring& key, const std::wstring& name, std::uint32_t type,
             const std::string& bytes) {
  Put(machine, reg::kCurrentUser, key, name, type, bytes);
}

// What regedit does with the registry script, done to the in-memory registry: the shell's import.
void ImportIntoSim(ApplyMachine& machine, const RegistryScript& script) {
  for (const ScriptKey& section : script.keys) {
    const std::optional<KeyLocation> key = LocateKey(section.path);
    if (!key) continue;
    const std::string path = machine.codec.ToAnsi(key->path);
    if (section.remove) {
      (void)DeleteRegistryTree(machine.registry, key->root, path);
      continue;
    }
    HKey handle = 0;
    ASSERT_EQ(machine.registry.CreateKey(key->root, path, &handle), reg::kSuccess);
    for (const ScriptValue& value : section.values) {
      const std::string name = machine.codec.ToAnsi(value.name);
      if (value.remove) (void)machine.registry.DeleteValue(handle, name);
      if (value.remove || !value.data) continue;
      std::string bytes = value.data->bytes;
      if (IsStringType(value.data->type)) bytes = machine.codec.ToAnsi(FromUtf16(Utf16FromLeBytes(bytes)));
      machine.registry.SetValue(handle, name, value.data->type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::uint32_t>(bytes.size()));
    }
    machine.registry.CloseKey(handle);
  }
}

// The administrator's script: it changes and removes values of a key that exists, makes keys of
// its own (one of them below HKEY_LOCAL_MACHINE), deletes a tree, adds a Trusted site and sets
// the zone's level. Its names hold a quote, a backslash, "]" and Chinese.
const wchar_t kScriptKeys[] =
    L"[HKEY_CURRENT_USER\\Software\\Vendor\\Existing]\r\n"
    L"\"over\"=\"new\"\r\n"
    L"\"added\"=dword:00000001\r\n"
    L"\"keep\"=-\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\NewVendor\\App\\Settings]\r\n"
    L"\"on\"=hex:01,02,03\r\n\r\n"
    L"[-HKEY_CURRENT_USER\\Software\\Vendor\\Doomed]\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\"
    L"script.example]\r\n\"https\"=dword:00000002\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2]\r\n"
    L"\"CurrentLevel\"=dword:00000000\r\n"
    L"\"1201\"=dword:00000000\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kelpo Test]\r\n"
    L"\"名称\\\"q\\\\b]\"=\"值\"\r\n";

std::string Version5Script() {
  return "\xFF\xFE" + Utf16LeBytes(ToUtf16(std::wstring(L"Windows Registry Editor Version 5.00\r\n\r\n") + kScriptKeys));
}
std::string Regedit4Script(const TextCodec& codec) { return codec.ToAnsi(std::wstring(L"REGEDIT4\r\n\r\n") + kScriptKeys); }

// A user's machine with something of everything an apply touches: a zone map of every zone,
// escape keys, both white-lists, add-on settings and a toolbar, options present (one of an
// unexpected type) and absent (one with its key), strings stored without their zero; the
// registry script in the program folder, imported into the registry when the shell runs it.
void ArrangeRichMachine(ApplyMachine& machine, const std::string& script) {
  const std::wstring domains(keys::kDomains), ranges(keys::kRanges);
  PutUser(machine, domains + L"\\local.example", L"*", reg::kRegDword, Dword(0));
  PutUser(machine, domains + L"\\intranet", L"*", reg::kRegDword, Dword(1));
  PutUser(machine, domains + L"\\example.com\\www", L"http", reg::kRegDword, Dword(2));
  PutUser(machine, domains + L"\\internet.example", L"http", reg::kRegDword, Dword(3));
  PutUser(machine, domains + L"\\blocked.example", L"http", reg::kRegDword, Dword(4));
  PutUser(machine, domains + L"\\mixed.example", L"http", reg::kRegDword, Dword(2));
  PutUser(machine, domains + L"\\mixed.example", L"https", reg::kRegDword, Dword(4));
  PutUser(machine, domains + L"\\例子.cn", L"http", reg::kRegDword, Dword(2));
  MakeKey(machine, reg::kCurrentUser, domains + L"\\empty.example");
  PutUser(machine, ranges + L"\\Range1", L"http", reg::kRegDword, Dword(2));
  PutUser(machine, ranges + L"\\Range1", L":Range", reg::kRegSz, "10.0.0.2");  // no terminating zero
  PutUser(machine, ranges + L"\\Range2", L"http", reg::kRegDword, Dword(4));
  PutUser(machine, ranges + L"\\Range2", L":Range", reg::kRegSz, std::string("10.0.0.4\0", 9));
  PutUser(machine, ranges + L"\\Range3", L"*", reg::kRegDword, Dword(1));
  PutUser(machine, ranges + L"\\Range3", L":Range", reg::kRegSz, std::string("10.0.0.1\0", 9));
  PutUser(machine, keys::Below(keys::kEscDomains, L"esc.example"), L"http", reg::kRegDword, Dword(2));
  PutUser(machine, keys::Below(keys::kEscRanges, L"Range1"), L"http", reg::kRegDword, Dword(2));
  PutUser(machine, keys::Below(keys::kEscRanges, L"Range1"), L":Range", reg::kRegSz, std::string("10.9.9.9\0", 9));
  PutUser(machine, std::wstring(keys::kBaiduWhiteList), L"*old.example*", reg::kRegDword, Dword(0));
  PutUser(machine, std::wstring(keys::kBaiduWhiteList), L"a\"b\\c]", reg::kRegSz, std::string("x\0", 2));
  PutUser(machine, std::wstring(keys::kGoogleOptions), L"PopupBlockerWhitelist", reg::kRegSz,
          std::string("|old.example|\0", 14));
  PutUser(machine, std::wstring(keys::kGoogleOptions), L"OtherOption", reg::kRegDword, Dword(7));
  const std::wstring add_on = keys::Below(keys::kAddOnSettings, L"{OLD}");
  PutUser(machine, add_on, L"Flags", reg::kRegDword, Dword(1));
  PutUser(machine, add_on, L"Version", reg::kRegSz, "*");  // no terminating zero
  PutUser(machine, add_on, L"List", reg::kRegMultiSz, std::string("a\0b\0\0", 5));
  PutUser(machine, add_on, L"Path", reg::kRegExpandSz, std::string("%TEMP%\\x\0", 9));
  PutUser(machine, add_on, L"Blob", reg::kRegBinary, std::string(90, '\xEE'));
  PutUser(machine, add_on, L"Big", reg::kRegQword, std::string(8, '\x01'));
  PutUser(machine, add_on, L"", reg::kRegSz, machine.codec.ToAnsi(L"工具栏") + '\0');
  machine.AddToolbarAddOn(L"{TB}");
  PutUser(machine, std::wstring(keys::kNewWindows), L"PopupMgr", reg::kRegSz, std::string("yes\0", 4));
  PutUser(machine, std::wstring(keys::kTrustedZone), L"Flags", reg::kRegDword, Dword(0x47));
  PutUser(machine, std::wstring(keys::kTrustedZone), L"1409", reg::kRegDword, Dword(3));
  PutUser(machine, L"Software\\Vendor\\Existing", L"keep", reg::kRegSz, std::string("old\0", 4));
  PutUser(machine, L"Software\\Vendor\\Existing", L"over", reg::kRegDword, Dword(9));
  PutUser(machine, L"Software\\Vendor\\Doomed\\Child", L"v", reg::kRegDword, Dword(5));
  MakeKey(machine, reg::kLocalMachine, L"SOFTWARE\\Policies");
  machine.processes.AddProcess("iexplore.exe");
  machine.url_cache.AddEntry("http://secret.example/private?session=1", cache::kNormalEntry);
  machine.files.PutCompanion(L"TrustedSites.reg", script);
  machine.shell.set_on_run([&machine, script](const std::wstring&) {
    machine.processes.AddChild("regedit.exe");
    ImportIntoSim(machine, ReadRegistryScript(script, machine.codec).script);
  });
  machine.ForgetSetUp();
}

RegistryModel Snapshot(ApplyMachine& machine) {
  machine.registry.set_journaling(false);
  RegistryModel model = RegistryModel::Snapshot(machine.registry, {reg::kCurrentUser, reg::kLocalMachine, reg::kClassesRoot});
  machine.registry.set_journaling(true);
  return model;
}

// The number of the first call that changed the machine: a registry write or deletion, a
// process ended or started, the shell run, a cache entry deleted.
std::uint64_t FirstChange(const ApplyMachine& machine) {
  std::uint64_t first = UINT64_MAX;
  for (const RegCall& call : machine.registry.journal())
    if (call.op == RegOp::kSetValue || call.op == RegOp::kDeleteKey || call.op == RegOp::kDeleteValue)
      first = std::min(first, call.number);
  for (const ProcCall& call : machine.processes.journal())
    if (call.op == ProcOp::kTerminate || call.op == ProcOp::kStart) first = std::min(first, call.number);
  for (const ShellCall& call : machine.shell.journal()) first = std::min(first, call.number);
  for (const CacheCall& call : machine.url_cache.journal())
    if (call.op == CacheOp::kDeleteEntry) first = std::min(first, call.number);
  return first;
}

// The number of the last read of the raw view: the backup's.
std::uint64_t LastBackupRead(const ApplyMachine& machine) {
  std::uint64_t last = 0;
  for (const RegCall& call : machine.registry.journal())
    if (call.op == RegOp::kProbeKeyRaw || call.op == RegOp::kReadKeyRaw || call.op == RegOp::kReadValueRaw)
      last = std::max(last, call.number);
  return last;
}

// The apply's backup, imported into the registry as the apply left it, gives back the registry
// as it was before, every root of it: so every change the apply and the script made is covered.
void ExpectTheBackupUndoesTheApply(ApplyMachine& machine, const RegistryModel& before, const SavedBackup& backup) {
  ASSERT_TRUE(backup.saved) << backup.failure.size();
  EXPECT_EQ(backup.path, kFirstBackup);
  EXPECT_GT(LastBackupRead(machine), 0u);
  EXPECT_LT(LastBackupRead(machine), FirstChange(machine)) << "the backup was read after the first change";
  RegistryModel after = Snapshot(machine);
  ASSERT_NE(after.keys, before.keys);
  const std::optional<std::string> bytes = machine.files.BytesOf(backup.path);
  ASSERT_TRUE(bytes.has_value());
  const ReadScript read = ReadRegistryScript(*bytes, machine.codec);
  EXPECT_EQ(read.format, ScriptFormat::kVersion5);
  after.Import(read.script);
  EXPECT_THAT(after.AsRegeditPutsItBack().DifferencesFrom(before.AsRegeditPutsItBack()), IsEmpty());
}

std::vector<std::string> LogLines(const ApplyMachine& machine) { return testing::LoggedEntries(machine.files); }

std::string Utf8(const std::wstring& text) { return ToUtf8(text); }

// --- The backup undoes the apply. ---

TEST(ApplyBackup, TheInteractiveApplyIsUndoneByItsBackupOnEveryVersion) {
  for (const BrowserVersions& versions : {kOldBrowser, kIe8}) {
    SCOPED_TRACE(Utf8(versions.internet_explorer));
    ApplyMachine machine;
    ArrangeRichMachine(machine, Version5Script());
    const RegistryModel before = Snapshot(machine);
    FakeApplyWindow window(machine);
    window.versions = versions;
    window.sites = {L"http://www.example.com", L"http://10.2.2.2", L"intranet", L"https://new.example",
                    L"http://新.example"};
    const ApplyOutcome outcome = window.Apply();
    EXPECT_TRUE(window.Completed());
    EXPECT_EQ(outcome.CountOf(StepResult::kFailed), 0);
    ExpectTheBackupUndoesTheApply(machine, before, outcome.backup);
  }
}

TEST(ApplyBackup, TheAutomaticApplyIsUndoneByItsBackupForEveryFormOfSite) {
  for (const std::wstring setup : {L"http://www.example.com", L"https://mail.example.com", L"intranet",
                                   L"http://10.0.0.7", L"http://10.0.0.2", L"1.2.3.x", L""}) {
    SCOPED_TRACE(Utf8(setup));
    ApplyMachine machine;
    ArrangeRichMachine(machine, Regedit4Script(machine.codec));
    const RegistryModel before = Snapshot(machine);
    const AutomaticApplyOutcome outcome = RunAutomatically(machine, setup, kIe8);
    EXPECT_EQ(outcome.CountOf(StepResult::kFailed), 0);
    ExpectTheBackupUndoesTheApply(machine, before, outcome.backup);
  }
}

TEST(ApplyBackup, AScriptThatCannotBeReadLeavesTheRestOfTheBackupAndIsLogged) {
  ApplyMachine machine;
  ArrangeRichMachine(machine, Version5Script());
  machine.files.DenyReading(kApplyFolder + L"\\TrustedSites.reg");
  FakeApplyWindow window(machine);
  window.sites = {L"intranet"};
  const ApplyOutcome outcome = window.Apply();
  ASSERT_TRUE(outcome.backup.saved);
  EXPECT_THAT(LogLines(machine), Contains("backup note: cannot read C:\\Program Files\\Kelpo\\TrustedSites.reg: "
                                          "what it writes is not backed up"));
}

TEST(ApplyBackup, NothingIsBackedUpOrLoggedWhenTheInteractiveApplyStops) {
  for (const int answer : {box::kAnswerNo, box::kAnswerYes}) {
    ApplyMachine machine;
    machine.desktop.QueueAnswer(answer);
    FakeApplyWindow window(machine);
    if (answer == box::kAnswerNo) window.sites = {L"intranet"};  // otherwise the list is empty
    const ApplyOutcome outcome = window.Apply();
    EXPECT_FALSE(outcome.applied());
    EXPECT_FALSE(outcome.backup.saved);
    EXPECT_EQ(machine.files.BytesOf(kLog), std::nullopt);
    std::vector<std::wstring> names;
    EXPECT_FALSE(machine.files.ListFiles(kBackups, L"*", &names));
  }
}

// --- The log. ---

TEST(ApplyLog, NamesTheVersionTheBackupEachStepAndTheTotalsAndNoCacheAddress) {
  ApplyMachine machine;
  ArrangeRichMachine(machine, Version5Script());
  machine.shell.InjectFault({.op = ShellOp::kRun});  // the import fails
  machine.throw_at = "Next unlocked";                 // a run-time error
  FakeApplyWindow window(machine);
  window.sites = {L"intranet", L"http://可信.example"};
  const ApplyOutcome outcome = window.Apply();
  const std::vector<std::string> lines = LogLines(machine);
  ASSERT_EQ(lines.size(), outcome.steps.size() + 3);  // the start, the backup and its one note
  EXPECT_EQ(lines[0], "Kelpo 9.8.7.6: interactive apply begins");
  EXPECT_EQ(lines[1], "lock the Next button: done");
  EXPECT_EQ(lines[2], "backup: " + Utf8(kFirstBackup) + " (to undo the apply: regedit /s \"" + Utf8(kFirstBackup) +
                          "\")");
  EXPECT_EQ(lines[3], "backup note: 2 string value(s) stored without a terminating zero come back with one");
  EXPECT_EQ(lines[4], "close the browser: done");
  EXPECT_EQ(lines[5], "clear the URL cache: done");
  EXPECT_THAT(lines, Contains("import the registry script: failed"));
  EXPECT_THAT(lines, Contains("write a site \"intranet\": done"));
  EXPECT_THAT(lines, Contains(Utf8(L"write a site \"http://可信.example\": done")));
  EXPECT_THAT(lines, Contains("unlock the Next button: failed (5>  " + Utf8(DescribeRuntimeError(5)) + ")"));
  EXPECT_EQ(lines.back(), "unload the trusted-sites window: done");
  for (const std::string& line : lines) EXPECT_THAT(line, Not(HasSubstr("secret")));

  const Report report = ReportCompletion(machine.platform, kOldBrowser);
  EXPECT_EQ(LogLines(machine).back(), "report: " + std::to_string(report.successes) + " succeeded, " +
                                          std::to_string(report.failures) + " failed, " +
                                          std::to_string(report.warnings) + " warnings");
}

TEST(ApplyLog, EachApplyAddsToTheLogAndKeepsABackupOfItsOwn) {
  ApplyMachine machine;
  ArrangeRichMachine(machine, Version5Script());
  RunAutomatically(machine, L"intranet");
  machine.clock.Set({2024, 5, 17, 9, 31, 0});
  const AutomaticApplyOutcome second = RunAutomatically(machine, L"intranet");
  EXPECT_EQ(second.backup.path, kBackups + L"\\20240517-093100.reg");
  const std::vector<std::string> lines = LogLines(machine);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Kelpo 9.8.7.6: automatic apply begins"), 2);
  EXPECT_THAT(lines, Contains("backup: " + Utf8(kFirstBackup) + " (to undo the apply: regedit /s \"" +
                              Utf8(kFirstBackup) + "\")"));
  EXPECT_THAT(lines, Contains(HasSubstr("backup: " + Utf8(second.backup.path))));
  EXPECT_TRUE(machine.files.BytesOf(kFirstBackup).has_value());
}

// Automatic mode through the windows: the completion window's report is the one whose totals
// are logged.
TEST_F(ProgramTest, AutomaticModeLogsItsStepsAndTheTotalsTheCompletionWindowShows) {
  PutCompanionFiles("Run=AUTO\r\nURL=intranet\r\n");
  windows.Show(std::make_unique<StartUpWindow>(context));
  const CompletionWindow* completion = windows.Find<CompletionWindow>();
  ASSERT_NE(completion, nullptr);
  std::string text = files.BytesOf(kLog).value_or("");
  EXPECT_THAT(text, HasSubstr("Kelpo 9.8.7.6: automatic apply begins\r\n"));
  EXPECT_THAT(text, HasSubstr("  backup: " + Utf8(kFirstBackup)));
  EXPECT_THAT(text, HasSubstr("  write the escape domain entry: done\r\n"));
  const Report& report = completion->report();
  EXPECT_THAT(text, ::testing::EndsWith("  report: " + std::to_string(report.successes) + " succeeded, " +
                                        std::to_string(report.failures) + " failed, " +
                                        std::to_string(report.warnings) + " warnings\r\n"));
}

// --- A backup or a log that cannot be written changes nothing the apply does. ---

// Everything the apply did, for a machine arranged as given.
std::vector<std::string> CleanRun(bool interactive) {
  ApplyMachine machine;
  ArrangeRichMachine(machine, Version5Script());
  FakeApplyWindow window(machine);
  window.sites = {L"http://www.example.com", L"http://10.2.2.2"};
  if (interactive)
    window.Apply();
  else
    RunAutomatically(machine, L"http://10.0.0.7");
  return machine.Events();
}

TEST(ApplyFileFaults, WithoutABackupFolderBothAppliesRunAsEverAndTheLogSaysWhy) {
  for (const bool interactive : {true, false}) {
    SCOPED_TRACE(interactive ? "interactive" : "automatic");
    ApplyMachine machine;
    ArrangeRichMachine(machine, Version5Script());
    ASSERT_TRUE(machine.files.CreateFolders(std::wstring(kSimLocalAppData) + L"\\Kelpo"));
    machine.files.Put(kBackups, "a file where the folder belongs");
    FakeApplyWindow window(machine);
    window.sites = {L"http://www.example.com", L"http://10.2.2.2"};
    const ApplyOutcome outcome = interactive ? window.Apply() : RunAutomatically(machine, L"http://10.0.0.7");
    EXPECT_EQ(machine.Events(), CleanRun(interactive));
    EXPECT_FALSE(outcome.backup.saved);
    EXPECT_EQ(outcome.backup.failure, L"cannot create the folder " + kBackups);
    EXPECT_THAT(LogLines(machine), Contains("no backup: cannot create the folder " + Utf8(kBackups)));
  }
}

TEST(ApplyFileFaults, AnyFileCallOfTheBackupOrTheLogFailingOrThrowingLeavesTheApplyAsItWas) {
  const std::vector<std::string> clean_interactive = CleanRun(true);
  const std::vector<std::string> clean_automatic = CleanRun(false);
  for (const FileOp op : {FileOp::kLocalAppData, FileOp::kCreateFolders, FileOp::kWriteWholeFile,
                          FileOp::kAppend, FileOp::kReadWholeFile, FileOp::kRenameFile, FileOp::kRemoveFile,
                          FileOp::kListFiles, FileOp::kFileSize}) {
    for (const bool throws : {false, true}) {
      // One call at a time among the first thirty (an apply makes about that many of each
      // kind: a log entry a step), then every call.
      for (const int skip : {0, 1, 2, 3, 4, 5, 7, 9, 12, 15, 19, 24, 30, -1}) {
        const int times = skip < 0 ? -1 : 1;
        SCOPED_TRACE(std::to_string(static_cast<int>(op)) + (throws ? " throws" : " fails") + " after " +
                     std::to_string(skip) + (times < 0 ? ", every call" : ""));
        for (const bool interactive : {true, false}) {
          ApplyMachine machine;
          ArrangeRichMachine(machine, Version5Script());
          machine.files.InjectFault({op, L"", throws, 5, std::max(skip, 0), times});
          FakeApplyWindow window(machine);
          window.sites = {L"http://www.example.com", L"http://10.2.2.2"};
          if (interactive) {
            window.Apply();
            EXPECT_TRUE(window.Completed());
          } else {
            RunAutomatically(machine, L"http://10.0.0.7");
          }
          EXPECT_EQ(machine.Events(), interactive ? clean_interactive : clean_automatic);
          if (::testing::Test::HasFailure()) return;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelpo::testing
