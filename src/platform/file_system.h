#pragma once
// Files and folders the program writes for the user: its backups and its log. Paths are full
// wide paths; names compare without regard to case, as on Windows. Every call reports failure
// as its return value and never throws.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpo {

// A file held open for adding to its end, closed when the object goes. Others may read, write,
// rename or remove the file meanwhile.
class AppendingFile {
 public:
  AppendingFile() = default;
  AppendingFile(const AppendingFile&) = delete;
  AppendingFile& operator=(const AppendingFile&) = delete;
  virtual ~AppendingFile() = default;

  // Adds `bytes` at the end of the file. False when the write fails; a failed write may leave
  // part of the bytes.
  [[nodiscard]] virtual bool Append(const std::string& bytes) = 0;
};

class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  // The user's local application-data folder (%LOCALAPPDATA%), without a trailing separator.
  // Empty when the system cannot say.
  virtual std::wstring LocalAppDataFolder() const = 0;
  // Creates the folder and every missing folder above it. True when the folder exists
  // afterwards; false when a file stands in the way or a folder cannot be made (the folders
  // made before the failure stay).
  [[nodiscard]] virtual bool CreateFolders(const std::wstring& path) = 0;
  // Creates the file, or empties an existing one, and writes `bytes` to disk. False when the
  // file cannot be opened for writing or a write fails; the file may then hold part of the bytes.
  [[nodiscard]] virtual bool WriteWholeFile(const std::wstring& path, const std::string& bytes) = 0;
  // Opens the file for adding to its end, creating it when missing. Nothing when it cannot be
  // opened (a missing folder, a folder or a read-only file of that name).
  [[nodiscard]] virtual std::unique_ptr<AppendingFile> OpenForAppending(const std::wstring& path) = 0;
  // The whole file. False when it cannot be opened or a read fails; *bytes is then untouched.
  [[nodiscard]] virtual bool ReadWholeFile(const std::wstring& path, std::string* bytes) const = 0;
  // Renames (moves) a file. An existing file at `to` is replaced only when `replace` is true;
  // otherwise the call fails and both files stay as they were. False on any failure, nothing
  // moved.
  [[nodiscard]] virtual bool RenameFile(const std::wstring& from, const std::wstring& to, bool replace) = 0;
  // Removes a file. False when it is missing or cannot be removed.
  [[nodiscard]] virtual bool RemoveFile(const std::wstring& path) = 0;
  // The names (without the folder) of the files in `folder` whose names match `pattern`, where
  // "*" stands for any run of characters and "?" for one; folders are not listed. The match is
  // the system's, which may be looser than the pattern: callers check the names they rely on.
  // False when the folder cannot be read (a missing folder included); *names is then untouched.
  [[nodiscard]] virtual bool ListFiles(const std::wstring& folder, const std::wstring& pattern,
                                       std::vector<std::wstring>* names) const = 0;
  // The file's size in bytes; nothing when it is missing, is a folder, or cannot be asked.
  virtual std::optional<std::uint64_t> FileSize(const std::wstring& path) const = 0;
};

}  // namespace kelpo
