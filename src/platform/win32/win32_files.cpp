#include "platform/win32/win32_files.h"

#include <windows.h>

#include <vector>

#include "platform/win32/win32_handles.h"

namespace kelpo {
namespace {

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
  const UniqueFind find(FindFirstFileW(path.c_str(), &data));
  if (!find) return false;
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  do {
    if ((data.dwFileAttributes & kNotNormal) == 0 && data.cFileName[0] != L'\0') return true;
  } while (FindNextFileW(find.get(), &data));
  return false;
}

bool Win32Files::ReadBlocks(const std::wstring& path, const std::function<bool(std::string_view)>& on_bytes) const {
  if (path.find(L'\0') != std::wstring::npos) return false;
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  std::vector<char> buffer(kReadChunk);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), kReadChunk, &read, nullptr)) return false;
    if (read == 0) return true;
    if (!on_bytes(std::string_view(buffer.data(), read))) return true;
  }
}

}  // namespace kelpo
