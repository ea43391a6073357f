// kelpo.exe's quiet run as a deployment starts it: "kelpo.exe /quiet", watched from before its
// first instruction to its end. It applies the set-up site, writes its log and backup, shows no
// window at any moment and tells by its exit status how it went; /? shows the usage; a command
// line it does not understand changes nothing.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/kelpo_fixture.h"
#include "e2e/program_data.h"
#include "e2e/window_watch.h"

namespace e2e {
namespace {

constexpr char kSetup[] = "; no Run=AUTO: the quiet run applies the site all the same\r\nURL=http://www.kelpo-quiet.example/start\r\n";
const std::wstring kSiteKey = kDomains + L"\\kelpo-quiet.example\\www";
const std::wstring kEscapeSiteKey = kZoneMap + L"\\EscDomains\\kelpo-quiet.example\\www";

class QuietRun : public KelpoRun {
 protected:
  void SetUp() override {
    KelpoRun::SetUp();
    std::error_code ignored;
    std::filesystem::remove_all(KelpoData(), ignored);
  }

  static WatchedRun Watch(const ProgramRun& run, const std::wstring& arguments, bool capture_output = false) {
    WatchOptions options;
    options.folder = run.folder();
    options.capture_output = capture_output;
    return RunWatched(run.CommandLine(arguments), options);
  }

  static void ExpectNoWindowShown(const WatchedRun& watched) {
    ASSERT_TRUE(watched.started) << "kelpo.exe did not start";
    EXPECT_TRUE(watched.hooked) << "the window-event hook could not be set: the watch sees too little";
    EXPECT_TRUE(watched.ShownWindows().empty()) << "shown: " << Describe(watched.ShownWindows());
    // Stricter, and what holds under Wine, which reports a window's creation to the watch but
    // not its showing: no window was made that could be shown at all (COM's message-only
    // window is all a quiet run may make).
    EXPECT_TRUE(watched.ScreenWindows().empty()) << "made: " << Describe(watched.ScreenWindows());
  }

  static bool SiteApplied() { return registry::ReadDword(HKEY_CURRENT_USER, kSiteKey, L"http") == 2u; }

  static void ExpectNothingChanged() {
    EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, kDomains)) << "the zone map was written";
    EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows"));
    EXPECT_TRUE(LogLines().empty()) << "an apply was logged";
  }

  static bool LogHasTotals(int failures, int warnings) {
    const std::wstring tail = L" succeeded, " + std::to_wstring(failures) + L" failed, " + std::to_wstring(warnings) +
                              L" warnings";
    const std::vector<std::wstring> lines = LogLines();
    return !lines.empty() && lines.back().rfind(L"report: ", 0) == 0 && lines.back().size() > tail.size() &&
           lines.back().compare(lines.back().size() - tail.size(), tail.size(), tail) == 0;
  }
};

TEST_F(QuietRun, AppliesTheSetUpSiteShowsNothingAndEndsWith0) {
  auto run = PrepareWith(kAllCompanions, kSetup);
  const WatchedRun watched = Watch(*run, L"/quiet");
  ExpectNoWindowShown(watched);
  ASSERT_TRUE(watched.exit_code.has_value()) << "still running after a minute";
  EXPECT_EQ(*watched.exit_code, 0u);
  EXPECT_TRUE(SiteApplied());
  EXPECT_EQ(registry::ReadDword(HKEY_CURRENT_USER, kEscapeSiteKey, L"http"), 2u);
  EXPECT_EQ(registry::ReadDword(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows",
                                L"PopupMgr"),
            0u);
  EXPECT_FALSE(std::filesystem::exists(run->folder() / kInstallerRecord)) << "a current Flash Player needs no installer";

  // The log: the start, the backup, each step, the totals; the backup it names is there.
  const std::vector<std::wstring> lines = LogLines();
  ASSERT_FALSE(lines.empty()) << "no log";
  EXPECT_EQ(lines.front(), L"Kelpo " + ProgramVersion() + L": automatic apply begins");
  EXPECT_TRUE(Contains(lines, L"write the domain entry: done"));
  EXPECT_TRUE(Contains(lines, L"write the escape domain entry: done"));
  EXPECT_TRUE(Contains(lines, L"update Flash Player: not needed"));
  EXPECT_TRUE(LogHasTotals(0, 0)) << "the last line is the report's totals";
  const std::wstring backup = BackupNamedIn(lines);
  ASSERT_FALSE(backup.empty()) << "the log names no backup";
  EXPECT_EQ(std::filesystem::path(backup).parent_path(), KelpoData() / L"Backups");
  EXPECT_TRUE(std::filesystem::exists(backup));
}

TEST_F(QuietRun, EverySpellingOfTheSwitchRunsQuietly) {
  for (const std::wstring arguments : {L"/q", L"-QUIET", L"\"/Quiet\"", L"  /qUiEt  "}) {
    SCOPED_TRACE(std::string(arguments.begin(), arguments.end()));
    ClearUserSettings();
    auto run = PrepareWith(kAllCompanions, kSetup);
    const WatchedRun watched = Watch(*run, arguments);
    ExpectNoWindowShown(watched);
    EXPECT_EQ(watched.exit_code, 0u);
    EXPECT_TRUE(SiteApplied());
  }
}

// An installer the shell cannot start: the shell's own error box would be a window, so the
// quiet run asks it for none, and the failed step is counted.
TEST_F(QuietRun, AStepThatFailsEndsWith1AndTheRestIsStillApplied) {
  SeedBrowser(L"8.0.6001.18702", L"9,0,124,0");
  auto run = PrepareWith({kTrustedSites, kSetupFile}, kSetup);
  run->WriteFile(kInstaller, "not a program");
  const WatchedRun watched = Watch(*run, L"/quiet");
  ExpectNoWindowShown(watched);
  EXPECT_EQ(watched.exit_code, 1u);
  EXPECT_TRUE(SiteApplied());
  EXPECT_TRUE(Contains(LogLines(), L"update Flash Player: failed"));
}

// The installer runs (the stand-in installs nothing): the report warns of the old Flash Player.
TEST_F(QuietRun, AWarningOfTheCompletionReportEndsWith1) {
  SeedBrowser(L"8.0.6001.18702", L"9,0,124,0");
  auto run = PrepareWith(kAllCompanions, kSetup);
  const WatchedRun watched = Watch(*run, L"/quiet");
  ExpectNoWindowShown(watched);
  EXPECT_EQ(watched.exit_code, 1u);
  EXPECT_TRUE(std::filesystem::exists(run->folder() / kInstallerRecord)) << "the installer was not started";
  EXPECT_TRUE(Contains(LogLines(), L"update Flash Player: done"));
  EXPECT_TRUE(LogHasTotals(0, 1));
}

TEST_F(QuietRun, AMissingCompanionFileEndsWith2AndChangesNothing) {
  for (const std::wstring& missing : kAllCompanions) {
    SCOPED_TRACE(std::string(missing.begin(), missing.end()));
    std::vector<std::wstring> present;
    for (const std::wstring& companion : kAllCompanions)
      if (companion != missing) present.push_back(companion);
    auto run = PrepareWith(present);
    const WatchedRun watched = Watch(*run, L"/quiet");
    ExpectNoWindowShown(watched);  // the start-up's message box is held back
    EXPECT_EQ(watched.exit_code, 2u);
    ExpectNothingChanged();
  }
}

TEST_F(QuietRun, ASetUpFileWithoutAnAddressEndsWith2AndChangesNothing) {
  auto run = PrepareWith(kAllCompanions, "Run=AUTO\r\nURL=\r\n");
  const WatchedRun watched = Watch(*run, L"/quiet");
  ExpectNoWindowShown(watched);
  EXPECT_EQ(watched.exit_code, 2u);
  ExpectNothingChanged();
}

TEST_F(QuietRun, ACommandLineNotUnderstoodEndsWith3AndChangesNothing) {
  for (const std::wstring arguments : {L"/quiet /q", L"/install", L"quiet", L"/quiet=yes"}) {
    SCOPED_TRACE(std::string(arguments.begin(), arguments.end()));
    auto run = PrepareWith(kAllCompanions, "Run=AUTO\r\nURL=http://www.kelpo-quiet.example\r\n");
    const WatchedRun watched = Watch(*run, arguments, /*capture_output=*/true);
    ExpectNoWindowShown(watched);
    EXPECT_EQ(watched.exit_code, 3u);
    EXPECT_NE(watched.output.find("not understood"), std::string::npos) << watched.output;
    EXPECT_NE(watched.output.find("Usage: kelpo.exe"), std::string::npos) << watched.output;
    ExpectNothingChanged();
  }
}

TEST_F(QuietRun, TheUsageGoesToTheStandardOutputItWasHanded) {
  auto run = PrepareWith(kAllCompanions, "Run=AUTO\r\nURL=http://www.kelpo-quiet.example\r\n");
  const WatchedRun watched = Watch(*run, L"/?", /*capture_output=*/true);
  ExpectNoWindowShown(watched);
  EXPECT_EQ(watched.exit_code, 0u);
  EXPECT_EQ(watched.output.rfind("Usage: kelpo.exe [/quiet | /?]\r\n", 0), 0u) << watched.output;
  for (const char* status : {"0  every step succeeded", "1  a step failed or warned", "3  the command line"})
    EXPECT_NE(watched.output.find(status), std::string::npos) << status;
  ExpectNothingChanged();
}

// Started with no standard output and no console to write to, as from Explorer: the usage is a
// message box. The watch sees it shown: what tells that the watch sees windows at all.
TEST_F(QuietRun, WithoutAConsoleTheUsageIsAMessageBoxTheWatchSees) {
  auto run = PrepareWith(kAllCompanions);
  std::vector<MessageBoxView> boxes;
  WatchOptions options;
  options.folder = run->folder();
  options.on_shown = [&](HWND window) {
    boxes.push_back(ReadMessageBox(window));
    Answer(boxes.back(), IDOK);
  };
  const WatchedRun watched = RunWatched(run->CommandLine(L"/?"), options);
  ASSERT_TRUE(watched.started);
  EXPECT_EQ(watched.exit_code, 0u);
  ASSERT_EQ(boxes.size(), 1u) << Describe(watched.windows);
  EXPECT_EQ(boxes[0].title, L"Kelpo");
  EXPECT_EQ(boxes[0].text.rfind(L"Usage: kelpo.exe [/quiet | /?]", 0), 0u);
  EXPECT_EQ(watched.ShownWindows().size(), 1u) << Describe(watched.ShownWindows());
  const std::vector<SeenWindow> made = watched.ScreenWindows();
  EXPECT_TRUE(std::any_of(made.begin(), made.end(), [](const SeenWindow& seen) {
    return seen.kind == WindowKind::kTopLevel && seen.class_name == L"#32770";
  })) << "the hook did not report the box's creation: " << Describe(made);
}

// The package's test (tests/package/run.sh) installs the package and hands this case the command
// line its Active Setup registration holds, exactly as read, to run as Windows runs it at a
// user's next logon: from the system folder, with no standard handles. The package's test then
// looks for the installed set-up file's site in the registry itself.
class InstalledPackage : public KelpoRun {};

TEST_F(InstalledPackage, TheActiveSetupCommandAppliesTheSetUpSiteShowingNothing) {
  const wchar_t* command = _wgetenv(L"KELPO_E2E_ACTIVE_SETUP_COMMAND");
  if (command == nullptr) GTEST_SKIP() << "run by tests/package/run.sh, on an installed package";
  std::error_code ignored;
  std::filesystem::remove_all(KelpoData(), ignored);
  wchar_t system_folder[MAX_PATH] = {};
  GetSystemDirectoryW(system_folder, MAX_PATH);
  WatchOptions options;
  options.folder = system_folder;
  const WatchedRun watched = RunWatched(command, options);
  ASSERT_TRUE(watched.started) << "the command did not start";
  EXPECT_TRUE(watched.hooked);
  EXPECT_TRUE(watched.ShownWindows().empty()) << "shown: " << Describe(watched.ShownWindows());
  EXPECT_TRUE(watched.ScreenWindows().empty()) << "made: " << Describe(watched.ScreenWindows());
  EXPECT_EQ(watched.exit_code, 0u);
  const std::vector<std::wstring> lines = LogLines();
  ASSERT_FALSE(lines.empty()) << "no log";
  EXPECT_NE(lines.front().find(L": automatic apply begins"), std::wstring::npos);
  EXPECT_TRUE(std::filesystem::exists(BackupNamedIn(lines))) << "the log names no backup that is there";
  EXPECT_EQ(lines.back().rfind(L"report: ", 0), 0u);
  EXPECT_NE(lines.back().find(L" succeeded, 0 failed, 0 warnings"), std::wstring::npos);
}

}  // namespace
}  // namespace e2e
