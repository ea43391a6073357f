#include "registry/registry_reader.h"

#include <algorithm>

#include "registry/registry_key.h"
#include "registry/trapped_error.h"
#include "text/strings.h"

namespace kelpo {

StoredText RegistryReader::ReadStoredText(HKey root, std::wstring_view path, std::wstring_view name) {
  StoredText stored;
  try {
    RegistryKey key;
    if (OpenRegistryKeyToRead(registry_, root, codec_.ToAnsi(path), &key) != reg::kSuccess) return stored;
    const std::string ansi_name = codec_.ToAnsi(name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    // The probe learns the type and size; the read into a buffer of that size is not judged.
    if (registry_.QueryValue(key.get(), ansi_name, &type, nullptr, &size) == reg::kSuccess)
      stored.type = static_cast<std::int32_t>(type);
    else
      size = 0;
    std::vector<std::uint8_t> buffer(size);
    std::uint32_t read_size = size;
    static_cast<void>(registry_.QueryValue(key.get(), ansi_name, &type, buffer.data(), &read_size));
    if (key.Close() != reg::kSuccess) stored.type = -1;
    stored.text = codec_.FromAnsi(std::string_view(reinterpret_cast<const char*>(buffer.data()), buffer.size()));
    return stored;
  } catch (...) {
    ShowTrappedError(desktop_);
    return {L"", -1};
  }
}

RegistryValue RegistryReader::ReadValue(HKey root, std::wstring_view path, std::wstring_view name) {
  RegistryValue value;
  RegistryKey key;
  if (OpenRegistryKeyToRead(registry_, root, codec_.ToAnsi(path), &key) != reg::kSuccess) return value;
  try {
    QueryTyped(key.get(), codec_.ToAnsi(name), value);
  } catch (...) {
    return RegistryValue{};
  }
  return value;
}

RegStatus RegistryReader::QueryTyped(HKey key, const std::string& name, RegistryValue& value) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  RegStatus status = registry_.QueryValue(key, name, &type, nullptr, &size);
  if (status != reg::kSuccess) return status;
  if (type == reg::kRegSz) {
    std::vector<char> buffer(size, '\0');
    status = registry_.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    // A string stored without its terminating zero (as the policy writer stores a long
    // white-list) is every byte stored, not nothing.
    if (status == reg::kSuccess)
      value = codec_.FromAnsi(UpToFirstZero(std::string_view(buffer.data(), buffer.size())));
    return status;
  }
  if (type == reg::kRegDword) {
    std::uint32_t number = 0;
    std::uint32_t number_size = sizeof(number);
    status = registry_.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(&number), &number_size);
    if (status == reg::kSuccess) value = static_cast<std::int32_t>(number);
    return status;
  }
  return -1;
}

std::wstring RegistryReader::ReadText(HKey root, std::wstring_view path, std::wstring_view name) {
  const RegistryValue value = ReadValue(root, path, name);
  if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
  return L"";
}

bool RegistryReader::KeyExists(HKey root, std::wstring_view path) {
  RegistryKey key;
  return OpenRegistryKeyToRead(registry_, root, codec_.ToAnsi(path), &key) == reg::kSuccess;
}

bool RegistryReader::KeyMissing(HKey root, std::wstring_view path) {
  RegistryKey key;
  return OpenRegistryKeyToRead(registry_, root, codec_.ToAnsi(path), &key) == reg::kFileNotFound;
}

std::vector<ListedValue> RegistryReader::ListValues(HKey root, std::wstring_view path) {
  RegistryKey key;
  if (OpenRegistryKey(registry_, root, codec_.ToAnsi(path), &key) != reg::kSuccess) return {};
  return kelpo::ListValues(registry_, key.get());
}

}  // namespace kelpo
