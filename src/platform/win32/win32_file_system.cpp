#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/win32_handles.h"

namespace kelpo {
namespace {

// A path Windows would cut short at an embedded zero names some other file: refused.
bool Usable(const std::wstring& path) { return !path.empty() && path.find(L'\0') == std::wstring::npos; }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + at, chunk, &written, nullptr) || written == 0) return false;
    at += written;
  }
  return true;
}

class Win32AppendingFile final : public AppendingFile {
 public:
  explicit Win32AppendingFile(UniqueHandle file) : file_(std::move(file)) {}
  bool Append(const std::string& bytes) override { return WriteAll(file_.get(), bytes); }

 private:
  UniqueHandle file_;
};

}  // namespace

std::wstring Win32FileSystem::LocalAppDataFolder() const {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return L"";
  std::wstring path(folder);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

bool Win32FileSystem::CreateFolders(const std::wstring& path) {
  if (!Usable(path)) return false;
  // Every folder from the top down; those that exist (or cannot be made, like a drive or a
  // network share's root) are passed over, and the result is judged by the folder itself.
  for (std::size_t end = path.find_first_of(L"\\/"); end != std::wstring::npos;
       end = path.find_first_of(L"\\/", end + 1)) {
    if (end > 0) CreateDirectoryW(path.substr(0, end).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
  return IsFolder(path);
}

bool Win32FileSystem::WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  if (!Usable(path)) return false;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) return false;
  // On disk before the caller relies on it (a backup is renamed into place only when whole).
  return WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
}

std::unique_ptr<AppendingFile> Win32FileSystem::OpenForAppending(const std::wstring& path) {
  if (!Usable(path)) return nullptr;
  // Append-only access: every write lands at the end, also with another writer. Shared for
  // deletion too, so that another writer can move the file aside while it is open here.
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32AppendingFile>(std::move(file));
}

bool Win32FileSystem::ReadWholeFile(const std::wstring& path, std::string* bytes) const {
  if (!Usable(path)) return false;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  std::string read;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) break;
    read.append(buffer, got);
  }
  *bytes = std::move(read);
  return true;
}

bool Win32FileSystem::RenameFile(const std::wstring& from, const std::wstring& to, bool replace) {
  if (!Usable(from) || !Usable(to)) return false;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  return MoveFileExW(from.c_str(), to.c_str(), flags) != 0;
}

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
  return Usable(path) && DeleteFileW(path.c_str()) != 0;
}

bool Win32FileSystem::ListFiles(const std::wstring& folder, const std::wstring& pattern,
                                std::vector<std::wstring>* names) const {
  if (!Usable(folder) || !Usable(pattern) || !IsFolder(folder)) return false;
  WIN32_FIND_DATAW data{};
  UniqueFind find(FindFirstFileW((folder + L"\\" + pattern).c_str(), &data));
  std::vector<std::wstring> found;
  if (!find) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    *names = std::move(found);
    return true;
  }
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) found.emplace_back(data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) return false;
  *names = std::move(found);
  return true;
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(const std::wstring& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!Usable(path) || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace kelpo
