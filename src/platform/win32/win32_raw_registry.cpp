#include "platform/win32/win32_raw_registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace kelpo {
namespace {

using OpenKey = UniqueWideKey;

HKEY NativeRoot(HKey root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

bool StartsWithFolder(const std::wstring& path, const wchar_t* prefix) {
  const std::size_t length = wcslen(prefix);
  if (path.size() < length || CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                                             static_cast<int>(length), prefix,
                                             static_cast<int>(length)) != CSTR_EQUAL)
    return false;
  return path.size() == length || path[length] == L'\\';
}

// The view regedit imports into, for both the registry script and a backup: on 64-bit Windows
// the 64-bit one, also when this program is a 32-bit one. Below the current user outside its
// classes Windows keeps one tree for both views, so the flag is left out there.
REGSAM ViewOf(HKey root, const std::wstring& path) {
  if (root == reg::kLocalMachine || root == reg::kClassesRoot) return KEY_WOW64_64KEY;
  if (root == reg::kCurrentUser && StartsWithFolder(path, L"Software\\Classes")) return KEY_WOW64_64KEY;
  return 0;
}

LONG Open(HKey root, const std::wstring& path, OpenKey* key) {
  if (!reg::IsPredefined(root)) return ERROR_INVALID_HANDLE;
  if (path.find(L'\0') != std::wstring::npos) return ERROR_FILE_NOT_FOUND;
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExW(NativeRoot(root), path.c_str(), 0,
                                    KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | ViewOf(root, path), &opened);
  if (status == ERROR_SUCCESS) *key = OpenKey(opened);
  return status;
}

// One pass over the key with buffers sized by RegQueryInfoKeyW; ERROR_MORE_DATA when the key
// grew meanwhile, so the caller sizes again.
LONG ReadOnce(HKEY key, RawKey* out) {
  DWORD longest_subkey = 0, longest_name = 0, largest_data = 0;
  LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest_subkey, nullptr, nullptr,
                                 &longest_name, &largest_data, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  RawKey read;
  std::vector<wchar_t> name(std::max(longest_subkey, longest_name) + 2);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    status = RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return status;
    read.subkeys.emplace_back(name.data(), length);
  }
  std::vector<BYTE> data(largest_data + 1);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    status = RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return status;
    read.values.push_back({std::wstring(name.data(), length),
                           {type, std::string(reinterpret_cast<const char*>(data.data()), size)}});
  }
  *out = std::move(read);
  return ERROR_SUCCESS;
}

}  // namespace

RegStatus Win32RawRegistry::ProbeKey(HKey root, const std::wstring& path) {
  OpenKey key;
  return Open(root, path, &key);
}

RegStatus Win32RawRegistry::ReadKey(HKey root, const std::wstring& path, RawKey* key) {
  OpenKey opened;
  LONG status = Open(root, path, &opened);
  // A key that keeps growing while it is read is given a few chances, then reported.
  for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
    status = ReadOnce(opened.get(), key);
    if (status != ERROR_MORE_DATA) return status;
    status = ERROR_SUCCESS;
  }
  return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

RegStatus Win32RawRegistry::ReadValue(HKey root, const std::wstring& path, const std::wstring& name,
                                      RawValue* value) {
  OpenKey opened;
  LONG status = Open(root, path, &opened);
  if (status != ERROR_SUCCESS) return status;
  if (name.find(L'\0') != std::wstring::npos) return ERROR_FILE_NOT_FOUND;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, size = 0;
    status = RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::vector<BYTE> data(size + 1);
    size = static_cast<DWORD>(data.size());
    status = RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    *value = {name, {type, std::string(reinterpret_cast<const char*>(data.data()), size)}};
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace kelpo
