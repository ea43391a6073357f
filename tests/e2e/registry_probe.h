#pragma once
// The real registry of the Wine prefix, read and seeded from outside the program, in the
// 32-bit view the program uses. Include only after <windows.h>.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e::registry {

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<std::uint32_t> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& key);
// Subkey names in the order the registry lists them; empty when the key is missing.
std::vector<std::wstring> Subkeys(HKEY root, const std::wstring& key);
// Value names in the order the registry lists them; empty when the key is missing.
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& key);

bool WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data);
bool WriteDword(HKEY root, const std::wstring& key, const std::wstring& name, std::uint32_t data);
// Deletes the key with everything below it; true also when it did not exist.
bool DeleteTree(HKEY root, const std::wstring& key);

}  // namespace e2e::registry
