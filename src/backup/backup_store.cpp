#include "backup/backup_store.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/runtime_error.h"

namespace kelpo {
namespace {

// Same-second backups are numbered from 2 up to this.
constexpr int kMostInOneSecond = 99;

std::wstring Stamp(const LocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour, time.minute,
                time.second);
  return text;
}

std::wstring BackupName(const std::wstring& stamp, int number) {
  return stamp + (number > 1 ? L"-" + std::to_wstring(number) : L"") + L".reg";
}

bool AllDigits(std::wstring_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// A backup's name as this store gives it, as (stamp, number) for ordering; nothing for any
// other file, which is never touched.
std::optional<std::pair<std::wstring, int>> BackupOrder(std::wstring_view name) {
  constexpr std::wstring_view kExtension = L".reg";
  if (name.size() < 15 + kExtension.size() || name.substr(name.size() - kExtension.size()) != kExtension) return std::nullopt;
  const std::wstring_view stem = name.substr(0, name.size() - kExtension.size());
  if (!AllDigits(stem.substr(0, 8)) || stem[8] != L'-' || !AllDigits(stem.substr(9, 6))) return std::nullopt;
  if (stem.size() == 15) return std::make_pair(std::wstring(stem), 1);
  const std::wstring_view number = stem.substr(15);
  if (number.size() < 2 || number.size() > 3 || number[0] != L'-' || !AllDigits(number.substr(1))) return std::nullopt;
  return std::make_pair(std::wstring(stem.substr(0, 15)), std::stoi(std::wstring(number.substr(1))));
}

}  // namespace

SavedBackup BackupStore::Save(const std::string& script_bytes) {
  try {
    const std::wstring app_data = files_.LocalAppDataFolder();
    if (app_data.empty()) return {false, L"", L"the local application-data folder is unknown"};
    const std::wstring folder = app_data + L"\\Kelpo\\Backups";
    if (!files_.CreateFolders(folder)) return {false, L"", L"cannot create the folder " + folder};
    SavedBackup saved = SaveInto(folder, script_bytes);
    if (saved.saved) RemoveOldBackups(folder);
    return saved;
  } catch (...) {
    return {false, L"", L"the backup broke down: " + DescribeCurrentException()};
  }
}

SavedBackup BackupStore::SaveInto(const std::wstring& folder, const std::string& script_bytes) {
  const std::wstring stamp = Stamp(clock_.Now());
  const std::wstring temporary = folder + L"\\" + stamp + L".reg.tmp";
  if (!files_.WriteWholeFile(temporary, script_bytes)) {
    (void)files_.RemoveFile(temporary);
    return {false, L"", L"cannot write " + temporary};
  }
  for (int number = 1; number <= kMostInOneSecond; ++number) {
    const std::wstring path = folder + L"\\" + BackupName(stamp, number);
    if (files_.FileSize(path)) continue;
    if (files_.RenameFile(temporary, path, false)) return {true, path, L""};
    // Another backup may have taken the name meanwhile: then the next number.
    if (!files_.FileSize(path)) {
      (void)files_.RemoveFile(temporary);
      return {false, L"", L"cannot rename " + temporary + L" to " + path};
    }
  }
  (void)files_.RemoveFile(temporary);
  return {false, L"", L"too many backups in the second " + stamp};
}

void BackupStore::RemoveOldBackups(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (!files_.ListFiles(folder, L"*.reg", &names)) return;
  std::vector<std::pair<std::pair<std::wstring, int>, std::wstring>> backups;
  for (const std::wstring& name : names)
    if (const auto order = BackupOrder(name)) backups.push_back({*order, name});
  if (backups.size() <= kKept) return;
  std::sort(backups.begin(), backups.end());
  for (std::size_t i = 0; i + kKept < backups.size(); ++i) (void)files_.RemoveFile(folder + L"\\" + backups[i].second);
}

}  // namespace kelpo
