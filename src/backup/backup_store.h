#pragma once
// Where backups are kept: %LOCALAPPDATA%\Kelpo\Backups\<yyyyMMdd-HHmmss>.reg, the folders made
// as needed. A backup is written under a temporary name and renamed when complete, so a file
// of that name is always whole; an existing backup is never overwritten (a second one in the
// same second is named <yyyyMMdd-HHmmss>-2.reg, and so on). The newest 20 are kept.
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace kelpo {

struct SavedBackup {
  bool saved = false;
  std::wstring path;     // the backup, when saved
  std::wstring failure;  // why there is none, when not
};

class BackupStore {
 public:
  static constexpr std::size_t kKept = 20;

  BackupStore(FileSystem& files, const Clock& clock) : files_(files), clock_(clock) {}

  // Writes the script's bytes as a new backup and removes the oldest beyond the newest 20.
  // Never throws: a failure (also one thrown by a port) is returned with its reason.
  SavedBackup Save(const std::string& script_bytes);

 private:
  SavedBackup SaveInto(const std::wstring& folder, const std::string& script_bytes);
  void RemoveOldBackups(const std::wstring& folder);

  FileSystem& files_;
  const Clock& clock_;
};

}  // namespace kelpo
