#include "registry/policy_writer.h"

#include <array>
#include <string>

#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "registry/trapped_error.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace kelpo {
namespace {

constexpr std::size_t kRangeByteLimit = 15;
constexpr std::size_t kWhitelistByteLimit = 10000;

struct PolicyRow {
  std::wstring_view setting;
  std::wstring_view value_name;
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

const PolicyRow* FindPolicy(std::wstring_view setting) {
  for (const PolicyRow& row : kPolicyTable)
    if (setting == row.setting) return &row;
  return nullptr;
}

}  // namespace

void PolicyWriter::Write(HKey root, std::wstring_view key_path, std::wstring_view setting) {
  try {
    RegistryKey key;
    if (CreateRegistryKey(registry_, root, codec_.ToAnsi(key_path), &key) != reg::kSuccess) return;
    WriteRules(key.get(), setting);
    key.Close();
  } catch (...) {
    ShowTrappedError(desktop_);
  }
}

void PolicyWriter::WriteBaiduPattern(std::wstring_view pattern) { WriteUser(keys::kBaiduWhiteList, pattern); }

void PolicyWriter::WriteGoogleWhitelist(std::wstring_view list) { WriteUser(keys::kGoogleOptions, list); }

void PolicyWriter::DisableAddOn(std::wstring_view settings_key) {
  WriteUser(settings_key, L"Flags1");
  WriteUser(settings_key, L"Version");
}

void PolicyWriter::WriteRules(HKey key, std::wstring_view setting) {
  if (const PolicyRow* row = FindPolicy(setting)) {
    if (row->type == reg::kRegSz) {
      const std::uint8_t asterisk = '*';
      registry_.SetValue(key, codec_.ToAnsi(row->value_name), reg::kRegSz, &asterisk, 1);
    } else {
      WriteDword(key, row->value_name, row->dword);
    }
    return;
  }
  if (Contains(setting, L"*")) WriteDword(key, setting, 0);
  if (StartsWith(setting, L"http")) WriteDword(key, setting, 2);
  if (IsFourPartNumber(setting)) WriteText(key, keys::kRangeValue, setting, kRangeByteLimit);
  if (StartsWith(setting, L"|")) WriteText(key, keys::kGoogleWhitelistValue, setting, kWhitelistByteLimit);
}

void PolicyWriter::WriteDword(HKey key, std::wstring_view name, std::uint32_t data) {
  const std::array<std::uint8_t, 4> bytes{static_cast<std::uint8_t>(data), static_cast<std::uint8_t>(data >> 8),
                                          static_cast<std::uint8_t>(data >> 16), static_cast<std::uint8_t>(data >> 24)};
  registry_.SetValue(key, codec_.ToAnsi(name), reg::kRegDword, bytes.data(), 4);
}

void PolicyWriter::WriteText(HKey key, std::wstring_view name, std::wstring_view text, std::size_t byte_limit) {
  std::string bytes = codec_.ToAnsi(text);
  bytes.push_back('\0');
  if (bytes.size() > byte_limit) bytes.resize(byte_limit);
  registry_.SetValue(key, codec_.ToAnsi(name), reg::kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                     static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace kelpo
