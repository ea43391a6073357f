#include <windows.h>

#include "e2e/registry_probe.h"

namespace e2e::registry {
namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

class OpenKey {
 public:
  OpenKey(HKEY root, const std::wstring& key, REGSAM access) {
    if (RegOpenKeyExW(root, key.c_str(), 0, access | kView, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::optional<std::vector<BYTE>> ReadRaw(HKEY root, const std::wstring& key, const std::wstring& name,
                                         DWORD expected_type) {
  OpenKey open(root, key, KEY_READ);
  if (open.get() == nullptr) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != expected_type)
    return std::nullopt;
  std::vector<BYTE> data(size);
  if (RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size);
  return data;
}

bool WriteRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | kView, nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(created, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(created);
  return status == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name) {
  const auto raw = ReadRaw(root, key, name, REG_SZ);
  if (!raw) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(raw->data()), raw->size() / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::optional<std::uint32_t> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name) {
  const auto raw = ReadRaw(root, key, name, REG_DWORD);
  if (!raw || raw->size() != sizeof(DWORD)) return std::nullopt;
  return *reinterpret_cast<const DWORD*>(raw->data());
}

bool KeyExists(HKEY root, const std::wstring& key) { return OpenKey(root, key, KEY_READ).get() != nullptr; }

std::vector<std::wstring> Subkeys(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  OpenKey open(root, key, KEY_READ);
  if (open.get() == nullptr) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(open.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  OpenKey open(root, key, KEY_READ);
  if (open.get() == nullptr) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD length = 16384;
    if (RegEnumValueW(open.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data) {
  return WriteRaw(root, key, name, REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

bool WriteDword(HKEY root, const std::wstring& key, const std::wstring& name, std::uint32_t data) {
  const DWORD value = data;
  return WriteRaw(root, key, name, REG_DWORD, &value, sizeof(value));
}

bool DeleteTree(HKEY root, const std::wstring& key) {
  OpenKey open(root, key, KEY_ALL_ACCESS);
  if (open.get() == nullptr) return !KeyExists(root, key);
  RegDeleteTreeW(open.get(), nullptr);
  return RegDeleteKeyExW(root, key.c_str(), kView, 0) == ERROR_SUCCESS;
}

}  // namespace e2e::registry
