#include "backup/apply_log.h"

#include <cstdio>

#include "platform/unicode.h"

namespace kelpo {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::wstring TimeText(const LocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour, time.minute,
                time.second);
  return text;
}

// Control characters (line breaks among them) become blanks.
std::wstring OneLine(std::wstring_view text) {
  std::wstring line(text);
  for (wchar_t& c : line)
    if (c < 0x20 || c == 0x7F) c = L' ';
  return line;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

std::wstring ApplyLog::LogPath() const {
  const std::wstring app_data = files_.LocalAppDataFolder();
  return app_data.empty() ? L"" : app_data + L"\\Kelpo\\kelpo.log";
}

void ApplyLog::RecordApplyStart(std::wstring_view apply, std::wstring_view program_version) {
  Record(L"Kelpo " + std::wstring(program_version) + L": " + std::wstring(apply) + L" begins");
}

void ApplyLog::RecordBackup(const SavedBackup& backup, const std::vector<std::wstring>& notes) {
  if (backup.saved)
    Record(L"backup: " + backup.path + L" (to undo the apply: regedit /s \"" + backup.path + L"\")");
  else
    Record(L"no backup: " + backup.failure);
  for (const std::wstring& note : notes) Record(L"backup note: " + note);
}

void ApplyLog::RecordStep(std::wstring_view step, std::wstring_view result) {
  Record(std::wstring(step) + L": " + std::wstring(result));
}

void ApplyLog::RecordTotals(int successes, int failures, int warnings) {
  Record(L"report: " + std::to_wstring(successes) + L" succeeded, " + std::to_wstring(failures) + L" failed, " +
         std::to_wstring(warnings) + L" warnings");
}

void ApplyLog::Record(std::wstring_view text) {
  try {
    const std::string line = ToUtf8(TimeText(clock_.Now()) + L"  " + OneLine(text)) + "\r\n";
    if (!file_ && !Open()) {
      intact_ = false;
      return;
    }
    if (size_ + line.size() > kRollOverBytes && size_ > kUtf8Mark.size()) RollOver();
    const std::string bytes = size_ > 0 ? line : std::string(kUtf8Mark) + line;
    if (!file_ || !file_->Append(bytes)) {
      // The next entry opens the log again from the start.
      intact_ = false;
      file_.reset();
      return;
    }
    size_ += bytes.size();
  } catch (...) {
    intact_ = false;
    file_.reset();
  }
}

bool ApplyLog::Open() {
  path_ = LogPath();
  if (path_.empty() || !files_.CreateFolders(FolderOf(path_))) return false;
  size_ = files_.FileSize(path_).value_or(0);
  file_ = files_.OpenForAppending(path_);
  return file_ != nullptr;
}

void ApplyLog::RollOver() {
  file_.reset();
  // When the old log cannot be moved aside, the entry still goes into it.
  if (files_.RenameFile(path_, FolderOf(path_) + L"\\kelpo.1.log", true)) size_ = 0;
  file_ = files_.OpenForAppending(path_);
}

}  // namespace kelpo
