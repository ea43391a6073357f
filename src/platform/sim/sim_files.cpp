#include "platform/sim/sim_files.h"

#include <algorithm>

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
  entries_[Key(path)] = Entry{path, std::move(bytes), attributes, false, std::nullopt};
}

void SimFiles::PutCompanion(const std::wstring& name, std::string bytes, std::uint32_t attributes) {
  Put(program_folder_ + L"\\" + name, std::move(bytes), attributes);
}

void SimFiles::Remove(const std::wstring& path) { entries_.erase(Key(path)); }

void SimFiles::DenyReading(const std::wstring& path) {
  Entry& entry = entries_[Key(path)];
  if (entry.path.empty()) entry.path = path;
  entry.deny_reading = true;
}

void SimFiles::FailReadingAfter(const std::wstring& path, std::size_t bytes) {
  Entry& entry = entries_[Key(path)];
  if (entry.path.empty()) entry.path = path;
  entry.fail_after = bytes;
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

bool SimFiles::ReadBlocks(const std::wstring& path, const std::function<bool(std::string_view)>& on_bytes) const {
  reads_.push_back(path);
  if (Faulted(FileOp::kReadBlocks, path)) return false;
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->deny_reading || (entry->attributes & file_attr::kDirectory) != 0) return false;
  const std::size_t readable = std::min(entry->bytes.size(), entry->fail_after.value_or(entry->bytes.size()));
  const std::string_view bytes(entry->bytes.data(), readable);
  for (std::size_t at = 0; at < bytes.size(); at += chunk_size_)
    if (!on_bytes(bytes.substr(at, chunk_size_))) return true;
  return !(entry->fail_after && *entry->fail_after < entry->bytes.size());
}

}  // namespace kelpo

namespace kelpo {
namespace {

std::wstring ParentOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring NameOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

bool IsDrive(const std::wstring& path) { return path.size() == 2 && path[1] == L':'; }

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// "*" any run, "?" one character; letters without regard to ASCII case.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
  std::size_t p = 0, n = 0, star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool SimFiles::FolderExists(const std::wstring& path) const {
  if (IsDrive(path)) return true;
  const std::wstring key = Key(path);
  if (const Entry* entry = Find(path)) return (entry->attributes & file_attr::kDirectory) != 0;
  const std::wstring below = key + L"\\";
  auto next = entries_.lower_bound(below);
  return next != entries_.end() && next->first.compare(0, below.size(), below) == 0;
}

bool SimFiles::ParentExists(const std::wstring& path) const {
  const std::wstring parent = ParentOf(path);
  return !parent.empty() && FolderExists(parent);
}

const SimFiles::Entry* SimFiles::FindFile(const std::wstring& path) const {
  const Entry* entry = Find(path);
  return entry != nullptr && (entry->attributes & file_attr::kDirectory) == 0 ? entry : nullptr;
}

std::optional<std::string> SimFiles::BytesOf(const std::wstring& path) const {
  const Entry* entry = FindFile(path);
  if (entry == nullptr) return std::nullopt;
  return entry->bytes;
}

std::wstring SimFiles::LocalAppDataFolder() const {
  if (Faulted(FileOp::kLocalAppData, local_app_data_)) return L"";
  return local_app_data_;
}

bool SimFiles::CreateFolders(const std::wstring& path) {
  if (Faulted(FileOp::kCreateFolders, path) || path.empty()) return false;
  for (std::size_t end = path.find(L'\\'); ; end = path.find(L'\\', end + 1)) {
    const std::wstring folder = path.substr(0, end);
    if (!folder.empty() && !FolderExists(folder)) {
      if (Find(folder) != nullptr) return false;  // a file of that name
      Put(folder, "", file_attr::kDirectory);
    }
    if (end == std::wstring::npos) return true;
  }
}

bool SimFiles::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const Entry* existing = Find(path);
  if (existing != nullptr && (existing->attributes & (file_attr::kDirectory | file_attr::kReadOnly)) != 0) return false;
  if (!ParentExists(path)) return false;
  if (Faulted(FileOp::kWriteWholeFile, path)) {
    Put(existing ? existing->path : path, "");
    return false;
  }
  Put(existing ? existing->path : path, bytes);
  return true;
}

// Appends to the file of that path, whatever is at the path by then.
class SimAppendingFile final : public AppendingFile {
 public:
  SimAppendingFile(SimFiles& files, std::wstring path) : files_(files), path_(std::move(path)) {}
  bool Append(const std::string& bytes) override {
    return !files_.Faulted(FileOp::kAppend, path_) && files_.AddToEnd(path_, bytes);
  }

 private:
  SimFiles& files_;
  std::wstring path_;
};

std::unique_ptr<AppendingFile> SimFiles::OpenForAppending(const std::wstring& path) {
  if (Faulted(FileOp::kAppend, path)) return nullptr;
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) {
    if (!ParentExists(path)) return nullptr;
    Put(path, "");
  } else if ((found->second.attributes & (file_attr::kDirectory | file_attr::kReadOnly)) != 0) {
    return nullptr;
  }
  return std::make_unique<SimAppendingFile>(*this, path);
}

bool SimFiles::AddToEnd(const std::wstring& path, const std::string& bytes) {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end() || (found->second.attributes & file_attr::kDirectory) != 0) return false;
  found->second.bytes += bytes;
  return true;
}

bool SimFiles::ReadWholeFile(const std::wstring& path, std::string* bytes) const {
  reads_.push_back(path);
  if (Faulted(FileOp::kReadWholeFile, path)) return false;
  const Entry* entry = FindFile(path);
  if (entry == nullptr || entry->deny_reading) return false;
  if (entry->fail_after && *entry->fail_after < entry->bytes.size()) return false;
  *bytes = entry->bytes;
  return true;
}

bool SimFiles::RenameFile(const std::wstring& from, const std::wstring& to, bool replace) {
  if (Faulted(FileOp::kRenameFile, from + L" -> " + to)) return false;
  const Entry* source = FindFile(from);
  if (source == nullptr || !ParentExists(to)) return false;
  const bool same = Key(from) == Key(to);
  if (const Entry* target = Find(to); target != nullptr && !same) {
    if (!replace || (target->attributes & (file_attr::kDirectory | file_attr::kReadOnly)) != 0) return false;
  }
  Entry moved = *source;
  moved.path = to;
  entries_.erase(Key(from));
  entries_[Key(to)] = std::move(moved);
  return true;
}

bool SimFiles::RemoveFile(const std::wstring& path) {
  if (Faulted(FileOp::kRemoveFile, path)) return false;
  const Entry* entry = FindFile(path);
  if (entry == nullptr || (entry->attributes & file_attr::kReadOnly) != 0) return false;
  entries_.erase(Key(path));
  return true;
}

bool SimFiles::ListFiles(const std::wstring& folder, const std::wstring& pattern,
                         std::vector<std::wstring>* names) const {
  if (Faulted(FileOp::kListFiles, folder) || !FolderExists(folder)) return false;
  std::vector<std::wstring> found;
  const std::wstring parent = Key(folder);
  for (const auto& [key, entry] : entries_) {
    if ((entry.attributes & file_attr::kDirectory) != 0 || Key(ParentOf(entry.path)) != parent) continue;
    if (Matches(pattern, NameOf(entry.path))) found.push_back(NameOf(entry.path));
  }
  *names = std::move(found);
  return true;
}

std::optional<std::uint64_t> SimFiles::FileSize(const std::wstring& path) const {
  if (Faulted(FileOp::kFileSize, path)) return std::nullopt;
  const Entry* entry = FindFile(path);
  if (entry == nullptr) return std::nullopt;
  return entry->bytes.size();
}

}  // namespace kelpo
