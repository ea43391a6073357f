#include "platform/win32/win32_registry.h"

#include <windows.h>

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

RegStatus Opened(LONG status, HKEY opened, HKey parent, HKey* result) {
  if (status == ERROR_SUCCESS) *result = Portable(opened, parent);
  return status;
}

}  // namespace

RegStatus Win32Registry::OpenKey(HKey parent, const std::string& subkey, HKey* result) {
  // RegOpenKeyA itself cannot choose the view; it is RegOpenKeyExA with the most access
  // granted, and "" hands back the parent's own handle.
  if (subkey.empty()) {
    *result = parent;
    return ERROR_SUCCESS;
  }
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(Native(parent), subkey.c_str(), 0,
                              MAXIMUM_ALLOWED | KEY_WOW64_32KEY, &opened);
  return Opened(status, opened, parent, result);
}

RegStatus Win32Registry::OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                                   HKey* result) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(Native(parent), subkey.c_str(), 0, access | KEY_WOW64_32KEY,
                              &opened);
  return Opened(status, opened, parent, result);
}

RegStatus Win32Registry::CreateKey(HKey parent, const std::string& subkey, HKey* result) {
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExA(Native(parent), subkey.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED | KEY_WOW64_32KEY,
                                nullptr, &opened, nullptr);
  return Opened(status, opened, parent, result);
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

RegStatus Win32Registry::DeleteKey(HKey key, const std::string& subkey) {
  return RegDeleteKeyExA(Native(key), subkey.c_str(), KEY_WOW64_32KEY, 0);
}

RegStatus Win32Registry::DeleteValue(HKey key, const std::string& name) {
  return RegDeleteValueA(Native(key), name.c_str());
}

RegStatus Win32Registry::CloseKey(HKey key) {
  if (reg::IsPredefined(key)) return ERROR_SUCCESS;
  return RegCloseKey(Native(key));
}

}  // namespace kelpo
