#pragma once
// The program's log: %LOCALAPPDATA%\Kelpo\kelpo.log, UTF-8 (a byte-order mark opens each new
// file, so Notepad on every Windows reads it), one line per entry with its local time, appended.
// Before it would pass 1 MB the file becomes kelpo.1.log (replacing the previous one) and a new
// one is begun. It records what an apply did for the people who support its users: never a
// secret (the URL cache's addresses are never handed to it, and it has no call that would take
// them). A line break in a text becomes a blank, so each entry stays one line. The file is held
// open from the first entry for as long as the object lives: an apply keeps one for its run.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "backup/backup_store.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace kelpo {

class ApplyLog {
 public:
  static constexpr std::uint64_t kRollOverBytes = 1024 * 1024;

  ApplyLog(FileSystem& files, const Clock& clock) : files_(files), clock_(clock) {}

  // The start of an apply ("interactive apply", "automatic apply") and the program's version.
  void RecordApplyStart(std::wstring_view apply, std::wstring_view program_version);
  // The backup's path, or why there is none; then the builder's notes (what the backup cannot
  // put back exactly).
  void RecordBackup(const SavedBackup& backup, const std::vector<std::wstring>& notes);
  // One step of the apply and its result ("done", "failed: ...").
  void RecordStep(std::wstring_view step, std::wstring_view result);
  // The completion report's totals.
  void RecordTotals(int successes, int failures, int warnings);

  // False once an entry could not be written. Recording never throws and never stops the
  // program: an entry that cannot be written is lost.
  bool intact() const { return intact_; }
  // The log's path; empty when the local application-data folder is unknown.
  std::wstring LogPath() const;

 private:
  void Record(std::wstring_view text);
  // Finds the log, makes its folder and opens it; false when any of it fails.
  [[nodiscard]] bool Open();
  // Moves the log aside as kelpo.1.log and opens a new one.
  void RollOver();

  FileSystem& files_;
  const Clock& clock_;
  bool intact_ = true;
  // The log, held open from the first entry on (an apply logs a line a step, and opening the
  // file for each would cost more than the step), and its size as this object wrote it.
  std::wstring path_;
  std::unique_ptr<AppendingFile> file_;
  std::uint64_t size_ = 0;
};

}  // namespace kelpo
