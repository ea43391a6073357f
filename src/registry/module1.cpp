#include "registry/module1.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/runtime_error.h"
#include "registry/key_handle.h"

namespace kelpo {
namespace {

constexpr std::uint32_t kEnumBufferSize = 255;
constexpr std::size_t kRangeByteLimit = 15;
constexpr std::size_t kWhitelistByteLimit = 10000;

struct PolicyRow {
  const wchar_t* setting;
  const wchar_t* value_name;
  std::uint32_t type;
  std::uint32_t dword;  // for REG_DWORD rows
};

// The browser settings the program enforces. "Version" is the one text row: a lone "*".
constexpr std::array<PolicyRow, 10> kPolicyTable{{
    {L"PopupMgr", L"PopupMgr", reg::kRegDword, 0},
    {L"PopupsUseNewWindow", L"PopupsUseNewWindow", reg::kRegDword, 0},
    {L"Flags", L"Flags", reg::kRegDword, 0x43},
    {L"CurrentLevel", L"CurrentLevel", reg::kRegDword, 0x10000},
    {L"Flags1", L"Flags", reg::kRegDword, 1},
    {L"Version", L"Version", reg::kRegSz, 0},
    {L"*", L"*", reg::kRegDword, 2},
    {L"ButtonPopupKiller", L"ButtonPopupKiller", reg::kRegDword, 0},
    {L"120B", L"120B", reg::kRegDword, 3},
    {L"1409", L"1409", reg::kRegDword, 0},
}};

const PolicyRow* FindPolicy(const std::wstring& setting) {
  for (const PolicyRow& row : kPolicyTable)
    if (setting == row.setting) return &row;
  return nullptr;
}

std::string CutBytesAtZero(const char* bytes, std::size_t length) {
  std::size_t end = 0;
  while (end < length && bytes[end] != '\0') ++end;
  return std::string(bytes, end);
}

bool IsDecimalNumber(const std::wstring& part) {
  std::size_t begin = part.find_first_not_of(L' ');
  if (begin == std::wstring::npos) return false;
  std::size_t end = part.find_last_not_of(L' ') + 1;
  if (part[begin] == L'+' || part[begin] == L'-') ++begin;
  if (begin >= end) return false;
  for (std::size_t i = begin; i < end; ++i)
    if (part[i] < L'0' || part[i] > L'9') return false;
  return true;
}

}  // namespace

std::vector<ListedValue> ListValues(Registry& registry, HKey key) {
  std::vector<ListedValue> values;
  for (std::uint32_t index = 0;; ++index) {
    std::array<char, kEnumBufferSize> name{};
    std::array<std::uint8_t, kEnumBufferSize> data{};
    std::uint32_t name_size = kEnumBufferSize;
    std::uint32_t data_size = kEnumBufferSize;
    std::uint32_t type = 0;
    const RegStatus status = registry.EnumValue(key, index, name.data(), &name_size, &type, data.data(), &data_size);
    if (status == reg::kNoMoreItems) break;
    const std::size_t data_length = data_size < kEnumBufferSize ? data_size : kEnumBufferSize;
    values.push_back({CutBytesAtZero(name.data(), name.size()), type,
                      std::string(reinterpret_cast<const char*>(data.data()), data_length), status == reg::kSuccess});
    // Only a full buffer still counts as a value; any other failure would repeat for ever.
    if (status != reg::kSuccess && status != reg::kMoreData) break;
  }
  return values;
}

bool ListedValue::HoldsDword(std::uint32_t number) const {
  const std::array<char, 4> bytes{static_cast<char>(number), static_cast<char>(number >> 8),
                                  static_cast<char>(number >> 16), static_cast<char>(number >> 24)};
  return whole && type == reg::kRegDword && data == std::string_view(bytes.data(), bytes.size());
}

std::optional<HKey> RootHandleOf(const std::wstring& root_name) {
  static const std::array<std::pair<const wchar_t*, HKey>, 7> kRoots{{
      {L"HKEY_CLASSES_ROOT", reg::kClassesRoot},
      {L"HKEY_CURRENT_CONFIG", reg::kCurrentConfig},
      {L"HKEY_CURRENT_USER", reg::kCurrentUser},
      {L"HKEY_DYN_DATA", reg::kDynData},
      {L"HKEY_LOCAL_MACHINE", reg::kLocalMachine},
      {L"HKEY_PERFORMANCE_DATA", reg::kPerformanceData},
      {L"HKEY_USERS", reg::kUsers},
  }};
  for (const auto& [name, handle] : kRoots)
    if (root_name == name) return handle;
  return std::nullopt;
}

std::wstring AsciiUpper(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return text;
}

bool IsToolbarName(const std::wstring& name) {
  return name.find(L"工具栏") != std::wstring::npos || AsciiUpper(name).find(L"TOOLBAR") != std::wstring::npos;
}

std::wstring CutAtZero(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

bool IsFourPartNumber(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (std::size_t dot = text.find(L'.'); dot != std::wstring::npos; dot = text.find(L'.', start)) {
    parts.push_back(text.substr(start, dot - start));
    start = dot + 1;
    if (parts.size() > 4) return false;
  }
  parts.push_back(text.substr(start));
  if (parts.size() != 4) return false;
  for (const std::wstring& part : parts)
    if (!IsDecimalNumber(part)) return false;
  return true;
}

void Module1::ShowTrappedError() {
  desktop_.ShowMessage(DescribeCurrentException(), kErrorBoxTitle, box::kIconStop | box::kOk);
}

std::wstring Module1::GetRegEntry(const std::wstring& root_name, const std::wstring& key_path,
                                  const std::wstring& value_name, std::int32_t& value_type) {
  try {
    const std::optional<HKey> root = RootHandleOf(root_name);
    if (!root) return L"";
    KeyHandle key;
    if (KeyHandle::OpenEx(registry_, *root, codec_.ToAnsi(key_path), reg::kKeyRead, &key) != reg::kSuccess)
      return L"";
    const std::string name = codec_.ToAnsi(value_name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry_.QueryValue(key.get(), name, &type, nullptr, &size) == reg::kSuccess)
      value_type = static_cast<std::int32_t>(type);
    else
      size = 0;
    std::vector<std::uint8_t> buffer(size);
    std::uint32_t second_size = size;
    registry_.QueryValue(key.get(), name, &type, buffer.data(), &second_size);
    if (key.Close() != reg::kSuccess) value_type = -1;
    return codec_.FromAnsi(std::string_view(reinterpret_cast<const char*>(buffer.data()), buffer.size()));
  } catch (...) {
    value_type = -1;
    ShowTrappedError();
    return L"";
  }
}

std::wstring Module1::ReadRegValue(HKey root, const std::wstring& key_path,
                                   const std::wstring& value_name) {
  // Reading needs no write right: a user who may only read the key still gets its value.
  KeyHandle key;
  KeyHandle::OpenEx(registry_, root, codec_.ToAnsi(key_path), reg::kKeyRead, &key);
  RegData data;
  QueryRegValueData(key.get(), value_name, data);
  if (const auto* text = std::get_if<std::wstring>(&data)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&data)) return std::to_wstring(*number);
  return L"";
}

RegStatus Module1::QueryRegValueData(HKey key, const std::wstring& value_name, RegData& data) {
  RegStatus status = reg::kSuccess;
  try {
    const std::string name = codec_.ToAnsi(value_name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    status = registry_.QueryValue(key, name, &type, nullptr, &size);
    if (status != reg::kSuccess) return status;
    if (type == reg::kRegSz) {
      std::vector<char> buffer(size, '\0');
      status = registry_.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
      if (status != reg::kSuccess) {
        data = std::monostate{};
      } else {
        // A string stored without its terminating zero (as the policy writer stores a long
        // white-list) is every byte stored, not nothing.
        const auto zero = std::find(buffer.begin(), buffer.end(), '\0');
        data = codec_.FromAnsi(std::string_view(buffer.data(), static_cast<std::size_t>(zero - buffer.begin())));
      }
      return status;
    }
    if (type == reg::kRegDword) {
      std::uint32_t number = 0;
      std::uint32_t number_size = sizeof(number);
      status = registry_.QueryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(&number), &number_size);
      if (status == reg::kSuccess) data = static_cast<std::int32_t>(number);
      return status;
    }
    return -1;
  } catch (...) {
    return status;
  }
}

bool Module1::RegKeyExists(const std::wstring& root_name, const std::wstring& key_path) {
  const std::optional<HKey> root = RootHandleOf(root_name);
  if (!root) return true;
  KeyHandle key;
  return KeyHandle::OpenEx(registry_, *root, codec_.ToAnsi(key_path), reg::kKeyRead, &key) == reg::kSuccess;
}

bool Module1::RegKeyMissing(const std::wstring& root_name, const std::wstring& key_path) {
  const std::optional<HKey> root = RootHandleOf(root_name);
  if (!root) return false;
  KeyHandle key;
  return KeyHandle::OpenEx(registry_, *root, codec_.ToAnsi(key_path), reg::kKeyRead, &key) == reg::kFileNotFound;
}

std::wstring Module1::GetRegValueName(const std::wstring& root_name, const std::wstring& key_path) {
  const std::optional<HKey> root = RootHandleOf(root_name);
  if (!root) return L"";
  KeyHandle key;
  if (KeyHandle::Open(registry_, *root, codec_.ToAnsi(key_path), &key) != reg::kSuccess) return L"";
  const std::vector<ListedValue> values = ListValues(registry_, key.get());
  return values.empty() ? L"" : codec_.FromAnsi(values.back().name);
}

void Module1::WriteDword(HKey key, const std::wstring& name, std::uint32_t data) {
  const std::array<std::uint8_t, 4> bytes{static_cast<std::uint8_t>(data), static_cast<std::uint8_t>(data >> 8),
                                          static_cast<std::uint8_t>(data >> 16), static_cast<std::uint8_t>(data >> 24)};
  registry_.SetValue(key, codec_.ToAnsi(name), reg::kRegDword, bytes.data(), 4);
}

void Module1::WriteText(HKey key, const std::wstring& name, const std::wstring& text,
                        std::size_t byte_limit) {
  std::string bytes = codec_.ToAnsi(text);
  bytes.push_back('\0');
  if (bytes.size() > byte_limit) bytes.resize(byte_limit);
  registry_.SetValue(key, codec_.ToAnsi(name), reg::kRegSz,
                     reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
}

void Module1::WritePolicy(HKey key, const std::wstring& setting) {
  if (const PolicyRow* row = FindPolicy(setting)) {
    if (row->type == reg::kRegSz) {
      const std::uint8_t asterisk = '*';
      registry_.SetValue(key, codec_.ToAnsi(row->value_name), reg::kRegSz, &asterisk, 1);
    } else {
      WriteDword(key, row->value_name, row->dword);
    }
    return;
  }
  if (setting.find(L'*') != std::wstring::npos) WriteDword(key, setting, 0);
  if (setting.size() >= 4 && setting.compare(0, 4, L"http") == 0) WriteDword(key, setting, 2);
  if (IsFourPartNumber(setting)) WriteText(key, L":Range", setting, kRangeByteLimit);
  if (!setting.empty() && setting.front() == L'|') WriteText(key, L"PopupBlockerWhitelist", setting, kWhitelistByteLimit);
}

void Module1::SetRegEntry(const std::wstring& root_name, const std::wstring& key_path,
                          const std::wstring& setting_name) {
  try {
    const std::optional<HKey> root = RootHandleOf(root_name);
    if (!root) return;
    KeyHandle key;
    if (KeyHandle::Create(registry_, *root, codec_.ToAnsi(key_path), &key) != reg::kSuccess) return;
    WritePolicy(key.get(), setting_name);
    key.Close();
  } catch (...) {
    ShowTrappedError();
  }
}

std::wstring Module1::ScanRegValues(const std::wstring& root_name, const std::wstring& key_path,
                                    const std::wstring& mode) {
  const std::optional<HKey> root = RootHandleOf(root_name);
  if (!root) return L"";
  KeyHandle key;
  if (KeyHandle::Open(registry_, *root, codec_.ToAnsi(key_path), &key) != reg::kSuccess) return L"";
  std::wstring result;
  for (const ListedValue& value : ListValues(registry_, key.get())) {
    if (mode == L"GetData") {
      const std::wstring text = codec_.FromAnsi(CutBytesAtZero(value.data.data(), value.data.size()));
      if (IsToolbarName(text)) result = text;
    } else if (mode == L"Ranges") {
      if (value.name != ":Range") result = codec_.FromAnsi(value.name);
    }
  }
  return result;
}

}  // namespace kelpo
