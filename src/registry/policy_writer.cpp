#include "registry/policy_writer.h"

#include <algorithm>
#include <array>
#include <string>

#include "registry/key_paths.h"
#include "registry/trapped_error.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace kelpo {
namespace {

constexpr std::size_t kRangeByteLimit = 15;
constexpr std::size_t kWhitelistByteLimit = 10000;
// Enough for the keys a run of site entries comes back to (the white-list key, Domains,
// Ranges) to stay open among the entry keys written in between.
constexpr std::size_t kKeysHeld = 32;
// What the registry answers for a handle whose key has been deleted.
constexpr RegStatus kKeyDeleted = 1018;

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

std::string DwordBytes(std::uint32_t data) {
  return {static_cast<char>(data), static_cast<char>(data >> 8), static_cast<char>(data >> 16),
          static_cast<char>(data >> 24)};
}

// The path naming each key once: no empty step, no separator at the end (a\\b\ names the key
// a\b).
std::string NormalPath(const std::string& path) {
  if (path.find("\\\\") == std::string::npos && (path.empty() || path.back() != '\\')) return path;
  std::string normal;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) normal.append(normal.empty() ? "" : "\\").append(path, start, end - start);
    start = end + 1;
  }
  return normal;
}

// A path the registry takes whole, so that reaching its key through a key held open above it
// changes nothing: not too long for the ANSI calls, not starting at a separator, naming a key
// below the root.
bool CanBeHeld(const std::string& path) {
  return path.size() <= reg::kMaxAnsiPath && !path.empty() && path.front() != '\\' && !NormalPath(path).empty();
}

// Held paths mostly share a long beginning: compared from the end, they differ at once.
bool SamePath(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.rbegin(), a.rend(), b.rbegin());
}
bool SamePath(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.rbegin(), a.rend(), b.rbegin());
}

}  // namespace

void PolicyWriter::Write(HKey root, std::wstring_view key_path, std::wstring_view setting) {
  try {
    const std::vector<Value> values = ValuesFor(setting);
    if (hold_depth_ > 0 && !values.empty())
      WriteHeld(root, key_path, values);
    else
      WriteOpeningFromRoot(root, codec_.ToAnsi(key_path), values);
  } catch (...) {
    ShowTrappedError(desktop_);
  }
}

void PolicyWriter::WriteOpeningFromRoot(HKey root, const std::string& path, const std::vector<Value>& values) {
  RegistryKey key;
  if (CreateRegistryKey(registry_, root, path, &key) != reg::kSuccess) return;
  for (const Value& value : values) Set(key.get(), value);
  key.Close();
}

void PolicyWriter::WriteHeld(HKey root, std::wstring_view key_path, const std::vector<Value>& values) {
  // A key written to before by the same path is found as it was given.
  HeldKey* held = FindHeldAsGiven(root, key_path);
  std::string normal;
  if (held == nullptr) {
    const std::string path = codec_.ToAnsi(key_path);
    if (!CanBeHeld(path)) {
      WriteOpeningFromRoot(root, path, values);
      return;
    }
    normal = NormalPath(path);
    held = FindHeld(root, normal);
  }
  HKey key = 0;
  if (held != nullptr) {
    HeldKey& used = MarkUsed(*held);
    key = used.key.get();
    if (Set(key, values.front()) == kKeyDeleted) {
      LetGo(used);
      WriteOpeningFromRoot(root, codec_.ToAnsi(key_path), values);
      return;
    }
  } else {
    RegStatus status = reg::kSuccess;
    key = OpenBelowHeld(root, normal, &status);
    if (status == kKeyDeleted) {
      WriteOpeningFromRoot(root, codec_.ToAnsi(key_path), values);
      return;
    }
    if (key == 0) return;
    held_.back().given = key_path;  // the key just opened
    Set(key, values.front());
  }
  for (std::size_t i = 1; i < values.size(); ++i) Set(key, values[i]);
  CloseLeastRecentlyUsed();
}

HKey PolicyWriter::OpenBelowHeld(HKey root, const std::string& path, RegStatus* status) {
  HKey from = root;
  std::size_t open_length = 0;  // how much of the path is open
  HeldKey* above = FindHeldAbove(root, path);
  if (above != nullptr) {
    MarkUsed(*above);
    from = above->key.get();
    open_length = above->path.size();
  } else if (const std::size_t last = path.rfind('\\'); last != std::string::npos) {
    // The parent is opened from the root, so that the keys next to this one are created below it.
    RegistryKey parent;
    *status = CreateRegistryKey(registry_, root, path.substr(0, last), &parent);
    if (*status != reg::kSuccess) return 0;
    from = Hold(root, path.substr(0, last), std::move(parent));
    open_length = last;
  }
  while (open_length < path.size()) {
    const std::size_t start = open_length == 0 ? 0 : open_length + 1;
    const std::size_t end = std::min(path.find('\\', start), path.size());
    RegistryKey opened;
    const RegStatus created = CreateRegistryKey(registry_, from, path.substr(start, end - start), &opened);
    if (created != reg::kSuccess) {
      // Only the held key it started from can have been deleted before this call: the write
      // then starts again from the root. Any other failure is the write's own, as when the key
      // cannot be created.
      if (created == kKeyDeleted && above != nullptr) {
        *status = created;
        LetGo(*above);
      }
      return 0;
    }
    from = Hold(root, path.substr(0, end), std::move(opened));
    above = nullptr;  // the keys held have moved
    open_length = end;
  }
  return from;
}

PolicyWriter::HeldKey* PolicyWriter::FindHeldAsGiven(HKey root, std::wstring_view key_path) {
  for (HeldKey& held : held_)
    if (held.root == root && !held.given.empty() && SamePath(held.given, key_path)) return &held;
  return nullptr;
}

PolicyWriter::HeldKey* PolicyWriter::FindHeld(HKey root, const std::string& path) {
  for (HeldKey& held : held_)
    if (held.root == root && SamePath(held.path, path)) return &held;
  return nullptr;
}

PolicyWriter::HeldKey* PolicyWriter::FindHeldAbove(HKey root, const std::string& path) {
  HeldKey* found = nullptr;
  for (HeldKey& held : held_) {
    const std::size_t length = held.path.size();
    if (held.root != root || length >= path.size() || path[length] != '\\') continue;
    if (found != nullptr && length <= found->path.size()) continue;
    if (SamePath(held.path, std::string_view(path).substr(0, length))) found = &held;
  }
  return found;
}

PolicyWriter::HeldKey& PolicyWriter::MarkUsed(HeldKey& held) {
  held.last_used = ++uses_;
  return held;
}

HKey PolicyWriter::Hold(HKey root, std::string path, RegistryKey key) {
  const HKey handle = key.get();
  held_.push_back(HeldKey{root, std::move(path), {}, std::move(key), ++uses_});
  return handle;
}

void PolicyWriter::LetGo(HeldKey& held) {
  RegistryKey key = std::move(held.key);
  std::swap(held, held_.back());
  held_.pop_back();
  key.Close();
}

void PolicyWriter::CloseLeastRecentlyUsed() {
  while (held_.size() > kKeysHeld) {
    LetGo(*std::min_element(held_.begin(), held_.end(),
                            [](const HeldKey& a, const HeldKey& b) { return a.last_used < b.last_used; }));
  }
}

void PolicyWriter::CloseHeldKeys() noexcept {
  if (hold_depth_ == 0 || --hold_depth_ > 0) return;
  try {
    while (!held_.empty()) {
      RegistryKey key = std::move(held_.back().key);
      held_.pop_back();
      key.Close();
    }
  } catch (...) {
    try {
      ShowTrappedError(desktop_);
    } catch (...) {
    }
    held_.clear();  // the rest are closed without a word
  }
}

void PolicyWriter::WriteBaiduPattern(std::wstring_view pattern) { WriteUser(keys::kBaiduWhiteList, pattern); }

void PolicyWriter::WriteGoogleWhitelist(std::wstring_view list) { WriteUser(keys::kGoogleOptions, list); }

void PolicyWriter::DisableAddOn(std::wstring_view settings_key) {
  WriteUser(settings_key, L"Flags1");
  WriteUser(settings_key, L"Version");
}

std::vector<PolicyWriter::Value> PolicyWriter::ValuesFor(std::wstring_view setting) const {
  std::vector<Value> values;
  if (const PolicyRow* row = FindPolicy(setting)) {
    if (row->type == reg::kRegSz)
      values.push_back({codec_.ToAnsi(row->value_name), reg::kRegSz, "*"});
    else
      values.push_back({codec_.ToAnsi(row->value_name), reg::kRegDword, DwordBytes(row->dword)});
    return values;
  }
  const auto text = [&](std::wstring_view name, std::size_t byte_limit) {
    std::string bytes = codec_.ToAnsi(setting);
    bytes.push_back('\0');
    if (bytes.size() > byte_limit) bytes.resize(byte_limit);
    values.push_back({codec_.ToAnsi(name), reg::kRegSz, std::move(bytes)});
  };
  if (Contains(setting, L"*")) values.push_back({codec_.ToAnsi(setting), reg::kRegDword, DwordBytes(0)});
  if (StartsWith(setting, L"http")) values.push_back({codec_.ToAnsi(setting), reg::kRegDword, DwordBytes(2)});
  if (IsFourPartNumber(setting)) text(keys::kRangeValue, kRangeByteLimit);
  if (StartsWith(setting, L"|")) text(keys::kGoogleWhitelistValue, kWhitelistByteLimit);
  return values;
}

RegStatus PolicyWriter::Set(HKey key, const Value& value) {
  return registry_.SetValue(key, value.name, value.type, reinterpret_cast<const std::uint8_t*>(value.data.data()),
                            static_cast<std::uint32_t>(value.data.size()));
}

}  // namespace kelpo
