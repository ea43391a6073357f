#pragma once
// An in-memory folder tree for tests: files with bytes and Windows attributes, a program
// folder, files that cannot be opened or fail part-way, and a record of every existence test
// and read. Paths compare without regard to ASCII letter case, as on Windows. It is also the
// file system the program writes its backups and log to: a folder exists when it was made, a
// file lies in it, or it is a drive ("C:"); files are written only into existing folders.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/files.h"
#include "platform/sim/sim_faults.h"

namespace kelpo {

namespace file_attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
}  // namespace file_attr

enum class FileOp {
  kAny, kProgramFolder, kExists, kReadBlocks,
  kLocalAppData, kCreateFolders, kWriteWholeFile, kAppend, kReadWholeFile, kRenameFile,
  kRemoveFile, kListFiles, kFileSize
};

inline constexpr const wchar_t* kSimLocalAppData = L"C:\\Users\\Kelpo\\AppData\\Local";

class SimFiles final : public Files, public FileSystem {
 public:
  explicit SimFiles(std::wstring program_folder = L"C:\\Program Files\\Kelpo")
      : program_folder_(std::move(program_folder)) {}

  std::wstring ProgramFolder() const override;
  bool Exists(const std::wstring& path) const override;
  bool ReadBlocks(const std::wstring& path, const std::function<bool(std::string_view)>& on_bytes) const override;

  // A fault on one of these calls makes it fail as the port describes; one that throws throws.
  // A failed whole-file write leaves the file empty; a failed append adds nothing. kAppend
  // faults both the opening of a file for appending and each append to it.
  std::wstring LocalAppDataFolder() const override;
  bool CreateFolders(const std::wstring& path) override;
  bool WriteWholeFile(const std::wstring& path, const std::string& bytes) override;
  std::unique_ptr<AppendingFile> OpenForAppending(const std::wstring& path) override;
  bool ReadWholeFile(const std::wstring& path, std::string* bytes) const override;
  bool RenameFile(const std::wstring& from, const std::wstring& to, bool replace) override;
  bool RemoveFile(const std::wstring& path) override;
  bool ListFiles(const std::wstring& folder, const std::wstring& pattern,
                 std::vector<std::wstring>* names) const override;
  std::optional<std::uint64_t> FileSize(const std::wstring& path) const override;

  // --- Test controls. ---
  void set_local_app_data(std::wstring folder) { local_app_data_ = std::move(folder); }
  // The bytes of a file; nothing for a folder or a missing file.
  std::optional<std::string> BytesOf(const std::wstring& path) const;
  void set_program_folder(std::wstring folder) { program_folder_ = std::move(folder); }
  // Puts a file (or, with kDirectory, a folder) at the path, replacing what was there.
  void Put(const std::wstring& path, std::string bytes, std::uint32_t attributes = file_attr::kArchive);
  // A file in the program folder: the folder, "\" and the name.
  void PutCompanion(const std::wstring& name, std::string bytes = {},
                    std::uint32_t attributes = file_attr::kArchive);
  void Remove(const std::wstring& path);
  // The file cannot be opened for reading (locked, no access); it still exists.
  void DenyReading(const std::wstring& path);
  // Reading delivers the first `bytes` bytes, then fails.
  void FailReadingAfter(const std::wstring& path, std::size_t bytes);
  // A call that fails (the folder reads as empty, the file as missing or unreadable) or throws;
  // the subject is the path.
  void InjectFault(const SimFault<FileOp>& fault) { faults_.Inject(fault); }
  // Bytes handed on at a time by ReadBlocks (to exercise every cut).
  void set_chunk_size(std::size_t size) { chunk_size_ = size ? size : 1; }

  const std::vector<std::wstring>& existence_tests() const { return existence_tests_; }
  const std::vector<std::wstring>& reads() const { return reads_; }

 private:
  struct Entry {
    std::wstring path;  // as first spelt
    std::string bytes;
    std::uint32_t attributes = 0;
    bool deny_reading = false;
    std::optional<std::size_t> fail_after;
  };
  static std::wstring Key(const std::wstring& path);
  friend class SimAppendingFile;
  // True when a fault hits the call; throws when the fault says so.
  bool Faulted(FileOp op, const std::wstring& subject) const;
  // Adds the bytes to an existing file; false when it is gone or is a folder.
  bool AddToEnd(const std::wstring& path, const std::string& bytes);
  const Entry* Find(const std::wstring& path) const;
  bool FolderExists(const std::wstring& path) const;
  bool ParentExists(const std::wstring& path) const;
  const Entry* FindFile(const std::wstring& path) const;

  std::wstring program_folder_;
  std::wstring local_app_data_ = kSimLocalAppData;
  std::map<std::wstring, Entry> entries_;
  std::size_t chunk_size_ = 4096;
  mutable std::vector<std::wstring> existence_tests_;
  mutable std::vector<std::wstring> reads_;
  mutable SimFaults<FileOp> faults_;
};

}  // namespace kelpo
