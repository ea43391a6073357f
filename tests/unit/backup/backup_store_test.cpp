// Where backups go and how they are kept, and the log, on the in-memory file system with its
// faults.
#include <gtest/gtest.h>

#include <algorithm>

#include "backup/apply_log.h"
#include "backup/backup_store.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_text_codec.h"

namespace kelpo {
namespace {

const std::wstring kBackups = std::wstring(kSimLocalAppData) + L"\\Kelpo\\Backups";
const std::wstring kLog = std::wstring(kSimLocalAppData) + L"\\Kelpo\\kelpo.log";
const std::wstring kPreviousLog = std::wstring(kSimLocalAppData) + L"\\Kelpo\\kelpo.1.log";

class FilesTest : public ::testing::Test {
 protected:
  std::vector<std::wstring> Listed(const std::wstring& folder, const std::wstring& pattern = L"*") {
    std::vector<std::wstring> names;
    EXPECT_TRUE(files_.ListFiles(folder, pattern, &names));
    std::sort(names.begin(), names.end());
    return names;
  }

  Utf8Codec codec_;
  SimFiles files_;
  SimClock clock_{{2024, 5, 17, 9, 30, 5}};
};

using BackupStoreTest = FilesTest;

TEST_F(BackupStoreTest, WritesTheBackupUnderItsTimeMakingTheFolders) {
  BackupStore store(files_, clock_);
  const SavedBackup saved = store.Save("script");
  ASSERT_TRUE(saved.saved) << saved.failure;
  EXPECT_EQ(saved.path, kBackups + L"\\20240517-093005.reg");
  EXPECT_EQ(files_.BytesOf(saved.path), "script");
  EXPECT_EQ(Listed(kBackups), std::vector<std::wstring>{L"20240517-093005.reg"});  // no temporary file left
}

TEST_F(BackupStoreTest, NeverOverwritesABackupOfTheSameSecond) {
  BackupStore store(files_, clock_);
  ASSERT_TRUE(store.Save("first").saved);
  const SavedBackup second = store.Save("second");
  const SavedBackup third = store.Save("third");
  EXPECT_EQ(second.path, kBackups + L"\\20240517-093005-2.reg");
  EXPECT_EQ(third.path, kBackups + L"\\20240517-093005-3.reg");
  EXPECT_EQ(files_.BytesOf(kBackups + L"\\20240517-093005.reg"), "first");
  EXPECT_EQ(files_.BytesOf(second.path), "second");
}

TEST_F(BackupStoreTest, KeepsTheNewestTwentyAndTouchesNoOtherFile) {
  ASSERT_TRUE(files_.CreateFolders(kBackups));
  for (int day = 1; day <= 25; ++day) {
    wchar_t name[40];
    std::swprintf(name, 40, L"\\202401%02d-120000.reg", day);
    files_.Put(kBackups + name, "old");
  }
  files_.Put(kBackups + L"\\20240101-120000-2.reg", "old");
  files_.Put(kBackups + L"\\notes.reg", "mine");
  files_.Put(kBackups + L"\\20200101-000000.txt", "mine");
  files_.Put(kBackups + L"\\20200101-000000-x.reg", "mine");
  BackupStore store(files_, clock_);
  ASSERT_TRUE(store.Save("new").saved);
  const std::vector<std::wstring> names = Listed(kBackups, L"2024*.reg");
  ASSERT_EQ(names.size(), 20u);
  EXPECT_EQ(names.front(), L"20240107-120000.reg");
  EXPECT_EQ(names.back(), L"20240517-093005.reg");
  EXPECT_TRUE(files_.BytesOf(kBackups + L"\\notes.reg"));
  EXPECT_TRUE(files_.BytesOf(kBackups + L"\\20200101-000000.txt"));
  EXPECT_TRUE(files_.BytesOf(kBackups + L"\\20200101-000000-x.reg"));
}

TEST_F(BackupStoreTest, EachFailureIsReportedAndLeavesNoTemporaryFile) {
  struct Case {
    FileOp op;
    const wchar_t* failure;
  };
  for (const Case& c : {Case{FileOp::kLocalAppData, L"the local application-data folder is unknown"},
                        Case{FileOp::kCreateFolders, L"cannot create the folder "},
                        Case{FileOp::kWriteWholeFile, L"cannot write "},
                        Case{FileOp::kRenameFile, L"cannot rename "}}) {
    for (const bool throws : {false, true}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + (throws ? " throws" : " fails"));
      SimFiles files;
      files.InjectFault({c.op, L"", throws, 5});
      const SavedBackup saved = BackupStore(files, clock_).Save("script");
      EXPECT_FALSE(saved.saved);
      EXPECT_TRUE(saved.path.empty());
      EXPECT_NE(saved.failure.find(throws ? L"the backup broke down" : c.failure), std::wstring::npos)
          << std::string(saved.failure.begin(), saved.failure.end());
      std::vector<std::wstring> left;
      if (files.ListFiles(kBackups, L"*", &left)) {
        EXPECT_TRUE(left.empty() || (throws && c.op == FileOp::kRenameFile)) << left.size();
      }
    }
  }
}

TEST_F(BackupStoreTest, AFileInTheWayOfTheFolderMeansNoBackup) {
  files_.Put(std::wstring(kSimLocalAppData) + L"\\Kelpo", "a file");
  const SavedBackup saved = BackupStore(files_, clock_).Save("script");
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(saved.failure, L"cannot create the folder " + kBackups);
}

using ApplyLogTest = FilesTest;

TEST_F(ApplyLogTest, RecordsOneTimedLineEachInUtf8AfterAByteOrderMark) {
  ApplyLog log(files_, clock_);
  log.RecordApplyStart(L"interactive apply", L"1.0.0.0");
  log.RecordBackup({true, kBackups + L"\\20240517-093005.reg", L""}, {});
  clock_.Set({2024, 5, 17, 9, 30, 7});
  log.RecordStep(L"可信站点", L"done");
  log.RecordTotals(7, 1, 2);
  EXPECT_TRUE(log.intact());
  EXPECT_EQ(log.LogPath(), kLog);
  const std::string expected =
      "\xEF\xBB\xBF"
      "2024-05-17 09:30:05  Kelpo 1.0.0.0: interactive apply begins\r\n"
      "2024-05-17 09:30:05  backup: C:\\Users\\Kelpo\\AppData\\Local\\Kelpo\\Backups\\20240517-093005.reg "
      "(to undo the apply: regedit /s \"C:\\Users\\Kelpo\\AppData\\Local\\Kelpo\\Backups\\20240517-093005.reg\")\r\n"
      "2024-05-17 09:30:07  \xE5\x8F\xAF\xE4\xBF\xA1\xE7\xAB\x99\xE7\x82\xB9: done\r\n"
      "2024-05-17 09:30:07  report: 7 succeeded, 1 failed, 2 warnings\r\n";
  EXPECT_EQ(files_.BytesOf(kLog).value_or(""), expected);
}

TEST_F(ApplyLogTest, AppendsToAnEarlierLogAndKeepsEachEntryOnOneLine) {
  ASSERT_TRUE(files_.CreateFolders(std::wstring(kSimLocalAppData) + L"\\Kelpo"));
  files_.Put(kLog, "\xEF\xBB\xBF" "earlier\r\n");
  ApplyLog log(files_, clock_);
  log.RecordBackup({false, L"", L"cannot create\r\nthe folder"}, {L"cannot read X\n(status 5)"});
  EXPECT_EQ(files_.BytesOf(kLog).value_or(""),
            "\xEF\xBB\xBF" "earlier\r\n"
            "2024-05-17 09:30:05  no backup: cannot create  the folder\r\n"
            "2024-05-17 09:30:05  backup note: cannot read X (status 5)\r\n");
}

TEST_F(ApplyLogTest, RollsOverBeforePassingOneMegabyteKeepingOnePreviousFile) {
  ASSERT_TRUE(files_.CreateFolders(std::wstring(kSimLocalAppData) + L"\\Kelpo"));
  files_.Put(kPreviousLog, "older still");
  const std::string full = "\xEF\xBB\xBF" + std::string(ApplyLog::kRollOverBytes - 3 - 10, 'x');
  files_.Put(kLog, full);
  ApplyLog log(files_, clock_);
  log.RecordStep(L"a", L"b");  // would pass 1 MB
  EXPECT_EQ(files_.BytesOf(kPreviousLog), full);
  EXPECT_EQ(files_.BytesOf(kLog).value_or(""), "\xEF\xBB\xBF" "2024-05-17 09:30:05  a: b\r\n");
  EXPECT_TRUE(log.intact());
}

TEST_F(ApplyLogTest, AnEntryThatCannotBeWrittenIsLostAndTheNextOpensTheLogAgain) {
  // The opening, the first entry, then the second entry fails.
  files_.InjectFault({FileOp::kAppend, L"", false, 5, 2, 1});
  ApplyLog log(files_, clock_);
  log.RecordStep(L"one", L"done");
  log.RecordStep(L"two", L"done");
  log.RecordStep(L"three", L"done");
  EXPECT_FALSE(log.intact());
  EXPECT_EQ(files_.BytesOf(kLog).value_or(""),
            "\xEF\xBB\xBF" "2024-05-17 09:30:05  one: done\r\n"
            "2024-05-17 09:30:05  three: done\r\n");
}

TEST_F(ApplyLogTest, ALogThatCannotBeWrittenNeverStopsTheProgram) {
  for (const FileOp op : {FileOp::kLocalAppData, FileOp::kCreateFolders, FileOp::kAppend}) {
    for (const bool throws : {false, true}) {
      SimFiles files;
      files.InjectFault({op, L"", throws, 5});
      ApplyLog log(files, clock_);
      log.RecordStep(L"step", L"done");
      log.RecordTotals(1, 0, 0);
      EXPECT_FALSE(log.intact());
    }
  }
  // A log that cannot be moved aside still takes the entry.
  ASSERT_TRUE(files_.CreateFolders(std::wstring(kSimLocalAppData) + L"\\Kelpo"));
  files_.Put(kLog, std::string(ApplyLog::kRollOverBytes, 'x'));
  files_.InjectFault({FileOp::kRenameFile, L"", false, 5});
  ApplyLog log(files_, clock_);
  log.RecordStep(L"a", L"b");
  EXPECT_TRUE(log.intact());
  EXPECT_EQ(files_.BytesOf(kLog)->size(), ApplyLog::kRollOverBytes + 27);
}

}  // namespace
}  // namespace kelpo
