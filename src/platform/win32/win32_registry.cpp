#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace kelpo {
namespace {

// The port carries predefined roots as their 32-bit values; Windows sign-extends them.
HKEY Native(HKey key) {
  if (reg::IsPredefined(key))
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

HKey Portable(HKEY key, HKey as_given) {
  // A handle handed back unchanged (the plain open of "") keeps the caller's spelling.
  if (key == Native(as_given)) return as_given;
  return static_cast<HKey>(reinterpret_cast<ULONG_PTR>(key));
}

bool IsStringType(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

bool SameAsciiName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The place one key name further down.
Win32Registry::Place Below(Win32Registry::Place place, std::string_view name) {
  using Place = Win32Registry::Place;
  switch (place) {
    case Place::kUser: return SameAsciiName(name, "Software") ? Place::kUserSoftware : Place::kUserShared;
    case Place::kUserSoftware: return SameAsciiName(name, "Classes") ? Place::kUserClasses : Place::kUserShared;
    default: return place;
  }
}

bool InThe32BitView(Win32Registry::Place place) {
  return place == Win32Registry::Place::kMachine || place == Win32Registry::Place::kUserClasses;
}

REGSAM ViewOf(Win32Registry::Place place) { return InThe32BitView(place) ? KEY_WOW64_32KEY : 0; }

}  // namespace

Win32Registry::Place Win32Registry::PlaceOf(HKey parent, const std::string& subkey) const {
  Place place = Place::kUserShared;
  if (parent == reg::kCurrentUser) {
    place = Place::kUser;
  } else if (reg::IsPredefined(parent)) {
    place = Place::kMachine;
  } else if (const auto known = places_.find(parent); known != places_.end()) {
    place = known->second;
  }
  // Only the first two names below HKEY_CURRENT_USER can lead into Software\Classes; an empty
  // step ("a\\b") names no key, as the registry reads it.
  std::size_t start = 0;
  while ((place == Place::kUser || place == Place::kUserSoftware) && start < subkey.size()) {
    const std::size_t end = std::min(subkey.find('\\', start), subkey.size());
    if (end > start) place = Below(place, std::string_view(subkey).substr(start, end - start));
    start = end + 1;
  }
  return place;
}

void Win32Registry::Remember(HKey opened, HKey parent, Place place) {
  if (opened != parent && place != Place::kUserShared) places_[opened] = place;
}

RegStatus Win32Registry::OpenKey(HKey parent, const std::string& subkey, HKey* result) {
  // RegOpenKeyA itself cannot choose the view; it is RegOpenKeyExA with the most access
  // granted, and "" hands back the parent's own handle.
  if (subkey.empty()) {
    *result = parent;
    return ERROR_SUCCESS;
  }
  return OpenKeyEx(parent, subkey, MAXIMUM_ALLOWED, result);
}

RegStatus Win32Registry::OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                                   HKey* result) {
  const Place place = PlaceOf(parent, subkey);
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(Native(parent), subkey.c_str(), 0, access | ViewOf(place), &opened);
  if (status != ERROR_SUCCESS) return status;
  *result = Portable(opened, parent);
  Remember(*result, parent, place);
  return status;
}

RegStatus Win32Registry::CreateKey(HKey parent, const std::string& subkey, HKey* result) {
  const Place place = PlaceOf(parent, subkey);
  HKEY opened = nullptr;
  const LONG status = RegCreateKeyExA(Native(parent), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      MAXIMUM_ALLOWED | ViewOf(place), nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) return status;
  *result = Portable(opened, parent);
  Remember(*result, parent, place);
  return status;
}

RegStatus Win32Registry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
  DWORD native_type = 0;
  DWORD native_size = size ? *size : 0;
  LONG status = RegQueryValueExA(Native(key), name.c_str(), nullptr, &native_type, data,
                                 size ? &native_size : nullptr);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (type) *type = native_type;
    if (size) *size = native_size;
  }
  return status;
}

RegStatus Win32Registry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  // Given string data that does not end in a zero, RegSetValueExA stores one more byte when the
  // byte after the data happens to be zero (it takes it for a terminating zero left uncounted).
  // The copy it is given has a byte there that is not zero, so exactly `size` bytes are stored.
  if (IsStringType(type) && data != nullptr && size > 0 && data[size - 1] != 0) {
    std::vector<std::uint8_t> exact(data, data + size);
    exact.push_back(1);
    return RegSetValueExA(Native(key), name.c_str(), 0, type, exact.data(), size);
  }
  return RegSetValueExA(Native(key), name.c_str(), 0, type, data, size);
}

RegStatus Win32Registry::EnumKey(HKey key, std::uint32_t index, char* name,
                                 std::uint32_t capacity) {
  return RegEnumKeyA(Native(key), index, name, capacity);
}

RegStatus Win32Registry::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                   std::uint32_t* name_size) {
  DWORD native_size = *name_size;
  LONG status = RegEnumKeyExA(Native(key), index, name, &native_size, nullptr, nullptr, nullptr,
                              nullptr);
  if (status == ERROR_SUCCESS) *name_size = native_size;
  return status;
}

RegStatus Win32Registry::EnumValue(HKey key, std::uint32_t index, char* name,
                                   std::uint32_t* name_size, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* data_size) {
  DWORD native_name_size = *name_size;
  DWORD native_type = 0;
  DWORD native_data_size = data_size ? *data_size : 0;
  LONG status = RegEnumValueA(Native(key), index, name, &native_name_size, nullptr,
                              type ? &native_type : nullptr, data,
                              data_size ? &native_data_size : nullptr);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (status == ERROR_SUCCESS) *name_size = native_name_size;
    if (type) *type = native_type;
    if (data_size) *data_size = native_data_size;
  }
  return status;
}

RegStatus Win32Registry::QueryInfoKey(HKey key, std::uint32_t* subkeys, std::uint32_t* values) {
  DWORD subkey_count = 0;
  DWORD value_count = 0;
  const LONG status = RegQueryInfoKeyA(Native(key), nullptr, nullptr, nullptr, &subkey_count, nullptr, nullptr,
                                      &value_count, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    *subkeys = subkey_count;
    *values = value_count;
  }
  return status;
}

RegStatus Win32Registry::DeleteKey(HKey key, const std::string& subkey) {
  const Place place = PlaceOf(key, subkey);
  if (subkey.empty() || !InThe32BitView(place)) return RegDeleteKeyA(Native(key), subkey.c_str());
  // RegDeleteKeyA cannot choose the view: the key is opened in the 32-bit view and deleted
  // through its own handle, as RegDeleteKeyExA would do.
  HKEY doomed = nullptr;
  const LONG opened = RegOpenKeyExA(Native(key), subkey.c_str(), 0, DELETE | KEY_WOW64_32KEY, &doomed);
  if (opened != ERROR_SUCCESS) return opened;
  const LONG status = RegDeleteKeyA(doomed, "");
  RegCloseKey(doomed);
  return status;
}

RegStatus Win32Registry::DeleteValue(HKey key, const std::string& name) {
  return RegDeleteValueA(Native(key), name.c_str());
}

RegStatus Win32Registry::CloseKey(HKey key) {
  if (reg::IsPredefined(key)) return ERROR_SUCCESS;
  // Once closed (or tried), the handle's value may come back for another key.
  if (!places_.empty()) places_.erase(key);
  return RegCloseKey(Native(key));
}

}  // namespace kelpo
