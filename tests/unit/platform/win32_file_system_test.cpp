// The Windows file-system and clock adapters against the real system (Wine here); and the backup
// store and log on them. Only the Windows build has them.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "backup/apply_log.h"
#include "backup/backup_store.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"

namespace kelpo {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    root_ = std::wstring(temp) + L"kelpo_fs_" + std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override { RemoveTree(root_); }

  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::string Contents(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(files_.ReadWholeFile(path, &bytes));
    return bytes;
  }

  Win32FileSystem files_;
  std::wstring root_;
};

TEST_F(Win32FileSystemTest, TheLocalApplicationDataFolderExists) {
  const std::wstring folder = files_.LocalAppDataFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Win32FileSystemTest, FoldersFilesAppendsAndSizes) {
  const std::wstring folder = root_ + L"\\a\\可信\\c";
  ASSERT_TRUE(files_.CreateFolders(folder));
  EXPECT_TRUE(files_.CreateFolders(folder));  // already there
  const std::wstring file = folder + L"\\f.txt";
  ASSERT_TRUE(files_.WriteWholeFile(file, std::string("one\0two", 7)));
  EXPECT_EQ(Contents(file), std::string("one\0two", 7));
  ASSERT_TRUE(files_.WriteWholeFile(file, "x"));  // replaces
  {
    const std::unique_ptr<AppendingFile> appending = files_.OpenForAppending(file);
    ASSERT_NE(appending, nullptr);
    ASSERT_TRUE(appending->Append("y"));
    ASSERT_TRUE(appending->Append("z"));
    EXPECT_EQ(Contents(file), "xyz");  // on disk at once, readable while open
  }
  EXPECT_EQ(files_.FileSize(file), std::optional<std::uint64_t>(3));
  EXPECT_FALSE(files_.FileSize(folder));
  EXPECT_FALSE(files_.FileSize(folder + L"\\missing"));
  {
    const std::unique_ptr<AppendingFile> appending = files_.OpenForAppending(folder + L"\\new.log");
    ASSERT_NE(appending, nullptr);
    ASSERT_TRUE(appending->Append("first"));
    // Another writer can move the file aside meanwhile (the log's roll-over).
    EXPECT_TRUE(files_.RenameFile(folder + L"\\new.log", folder + L"\\old.log", true));
  }
  EXPECT_EQ(Contents(folder + L"\\old.log"), "first");
  EXPECT_EQ(files_.OpenForAppending(folder), nullptr);
  EXPECT_EQ(files_.OpenForAppending(root_ + L"\\no\\such\\folder\\f"), nullptr);
  std::string untouched = "keep";
  EXPECT_FALSE(files_.ReadWholeFile(folder + L"\\missing", &untouched));
  EXPECT_EQ(untouched, "keep");
  // A file in the way of a folder.
  EXPECT_FALSE(files_.CreateFolders(file + L"\\below"));
  EXPECT_FALSE(files_.WriteWholeFile(root_ + L"\\no\\such\\folder\\f", "x"));
}

TEST_F(Win32FileSystemTest, RenameReplacesOnlyWhenAskedAndListsMatchOnlyFiles) {
  ASSERT_TRUE(files_.CreateFolders(root_ + L"\\sub.reg"));  // a folder that matches the pattern
  ASSERT_TRUE(files_.WriteWholeFile(root_ + L"\\a.tmp", "new"));
  ASSERT_TRUE(files_.WriteWholeFile(root_ + L"\\b.reg", "old"));
  EXPECT_FALSE(files_.RenameFile(root_ + L"\\a.tmp", root_ + L"\\b.reg", false));
  EXPECT_EQ(Contents(root_ + L"\\a.tmp"), "new");
  EXPECT_EQ(Contents(root_ + L"\\b.reg"), "old");
  ASSERT_TRUE(files_.RenameFile(root_ + L"\\a.tmp", root_ + L"\\b.reg", true));
  EXPECT_EQ(Contents(root_ + L"\\b.reg"), "new");
  ASSERT_TRUE(files_.RenameFile(root_ + L"\\b.reg", root_ + L"\\c.reg", false));
  ASSERT_TRUE(files_.WriteWholeFile(root_ + L"\\d.txt", ""));
  std::vector<std::wstring> names;
  ASSERT_TRUE(files_.ListFiles(root_, L"*.reg", &names));
  EXPECT_EQ(names, std::vector<std::wstring>{L"c.reg"});
  ASSERT_TRUE(files_.ListFiles(root_, L"*.none", &names));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(files_.ListFiles(root_ + L"\\missing", L"*", &names));
  ASSERT_TRUE(files_.RemoveFile(root_ + L"\\c.reg"));
  EXPECT_FALSE(files_.RemoveFile(root_ + L"\\c.reg"));
}

TEST_F(Win32FileSystemTest, TheClockShowsTheLocalTime) {
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const LocalTime now = Win32Clock().Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.second, 59);
}

// The store and the log on the real file system, in a folder of their own.
class FixedFolderFiles final : public FileSystem {
 public:
  FixedFolderFiles(FileSystem& files, std::wstring folder) : files_(files), folder_(std::move(folder)) {}
  std::wstring LocalAppDataFolder() const override { return folder_; }
  bool CreateFolders(const std::wstring& p) override { return files_.CreateFolders(p); }
  bool WriteWholeFile(const std::wstring& p, const std::string& b) override { return files_.WriteWholeFile(p, b); }
  std::unique_ptr<AppendingFile> OpenForAppending(const std::wstring& p) override { return files_.OpenForAppending(p); }
  bool ReadWholeFile(const std::wstring& p, std::string* b) const override { return files_.ReadWholeFile(p, b); }
  bool RenameFile(const std::wstring& f, const std::wstring& t, bool r) override { return files_.RenameFile(f, t, r); }
  bool RemoveFile(const std::wstring& p) override { return files_.RemoveFile(p); }
  bool ListFiles(const std::wstring& f, const std::wstring& p, std::vector<std::wstring>* n) const override {
    return files_.ListFiles(f, p, n);
  }
  std::optional<std::uint64_t> FileSize(const std::wstring& p) const override { return files_.FileSize(p); }

 private:
  FileSystem& files_;
  std::wstring folder_;
};

TEST_F(Win32FileSystemTest, BackupsAndTheLogLandWhereTheySay) {
  FixedFolderFiles files(files_, root_ + L"\\Local");
  Win32Clock clock;
  BackupStore store(files, clock);
  const SavedBackup first = store.Save("first");
  const SavedBackup second = store.Save("second");
  ASSERT_TRUE(first.saved) << std::string(first.failure.begin(), first.failure.end());
  ASSERT_TRUE(second.saved);
  EXPECT_NE(first.path, second.path);
  EXPECT_EQ(first.path.rfind(root_ + L"\\Local\\Kelpo\\Backups\\", 0), 0u);
  EXPECT_EQ(Contents(first.path), "first");
  EXPECT_EQ(Contents(second.path), "second");
  std::vector<std::wstring> names;
  ASSERT_TRUE(files.ListFiles(root_ + L"\\Local\\Kelpo\\Backups", L"*", &names));
  EXPECT_EQ(names.size(), 2u);  // no temporary file left

  ApplyLog log(files, clock);
  log.RecordBackup(first, {});
  EXPECT_TRUE(log.intact());
  const std::string text = Contents(root_ + L"\\Local\\Kelpo\\kelpo.log");
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text.find("backup: "), std::string::npos);
}

}  // namespace
}  // namespace kelpo
#endif  // _WIN32
