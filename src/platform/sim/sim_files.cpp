#include "platform/sim/sim_files.h"

#include <algorithm>

#include "platform/ansi_lines.h"
#include "platform/runtime_error.h"

namespace kelpo {

std::wstring SimFiles::Key(const std::wstring& path) {
  std::wstring key = path;
  for (wchar_t& c : key)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return key;
}

const SimFiles::Entry* SimFiles::Find(const std::wstring& path) const {
  auto found = entries_.find(Key(path));
  return found == entries_.end() ? nullptr : &found->second;
}

void SimFiles::Put(const std::wstring& path, std::string bytes, std::uint32_t attributes) {
  entries_[Key(path)] = Entry{std::move(bytes), attributes, false, std::nullopt};
}

void SimFiles::PutCompanion(const std::wstring& name, std::string bytes, std::uint32_t attributes) {
  Put(program_folder_ + L"\\" + name, std::move(bytes), attributes);
}

void SimFiles::Remove(const std::wstring& path) { entries_.erase(Key(path)); }

void SimFiles::DenyReading(const std::wstring& path) { entries_[Key(path)].deny_reading = true; }

void SimFiles::FailReadingAfter(const std::wstring& path, std::size_t bytes) {
  entries_[Key(path)].fail_after = bytes;
}

bool SimFiles::Faulted(FileOp op, const std::wstring& subject) const {
  const std::optional<SimFault<FileOp>> fault = faults_.Hit(op, subject);
  if (fault && fault->throws) throw RuntimeError(fault->error);
  return fault.has_value();
}

std::wstring SimFiles::ProgramFolder() const {
  if (Faulted(FileOp::kProgramFolder, program_folder_)) return L"";
  return program_folder_;
}

bool SimFiles::Exists(const std::wstring& path) const {
  existence_tests_.push_back(path);
  if (Faulted(FileOp::kExists, path)) return false;
  const Entry* entry = Find(path);
  constexpr std::uint32_t kNotNormal = file_attr::kHidden | file_attr::kSystem | file_attr::kDirectory;
  return entry != nullptr && (entry->attributes & kNotNormal) == 0;
}

bool SimFiles::ReadLines(const std::wstring& path,
                         const std::function<bool(const std::wstring&)>& on_line) const {
  reads_.push_back(path);
  if (Faulted(FileOp::kReadLines, path)) return false;
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->deny_reading || (entry->attributes & file_attr::kDirectory) != 0) return false;
  const std::size_t readable = std::min(entry->bytes.size(), entry->fail_after.value_or(entry->bytes.size()));
  AnsiLineSplitter splitter(codec_, on_line);
  const std::string_view bytes(entry->bytes.data(), readable);
  for (std::size_t at = 0; at < bytes.size(); at += chunk_size_)
    if (!splitter.Feed(bytes.substr(at, chunk_size_))) return true;
  if (entry->fail_after && *entry->fail_after < entry->bytes.size()) return false;
  splitter.Finish();
  return true;
}

}  // namespace kelpo
