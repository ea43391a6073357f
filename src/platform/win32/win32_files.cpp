#include "platform/win32/win32_files.h"

#include <windows.h>

#include <vector>

#include "platform/ansi_lines.h"

namespace kelpo {
namespace {

// A handle closed exactly once.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

constexpr DWORD kReadChunk = 64 * 1024;

}  // namespace

std::wstring Win32Files::ProgramFolder() const {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return L"";
    if (length < buffer.size()) {
      const std::wstring path(buffer.data(), length);
      const std::size_t separator = path.find_last_of(L"\\/");
      return separator == std::wstring::npos ? L"" : path.substr(0, separator);
    }
    if (buffer.size() >= 32768) return L"";
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32Files::Exists(const std::wstring& path) const {
  if (path.find(L'\0') != std::wstring::npos) return false;
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileW(path.c_str(), &data));
  if (!find.valid()) return false;
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  do {
    if ((data.dwFileAttributes & kNotNormal) == 0 && data.cFileName[0] != L'\0') return true;
  } while (FindNextFileW(find.get(), &data));
  return false;
}

bool Win32Files::ReadLines(const std::wstring& path,
                           const std::function<bool(const std::wstring&)>& on_line) const {
  if (path.find(L'\0') != std::wstring::npos) return false;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return false;
  AnsiLineSplitter splitter(codec_, on_line);
  std::vector<char> buffer(kReadChunk);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), kReadChunk, &read, nullptr)) return false;
    if (read == 0) break;
    if (!splitter.Feed(std::string_view(buffer.data(), read))) return true;
  }
  splitter.Finish();
  return true;
}

}  // namespace kelpo
