#include "sites/zone_map.h"

#include <algorithm>
#include <array>

#include "engine/text_rules.h"
#include "registry/key_handle.h"

namespace kelpo {
namespace {
constexpr std::uint32_t kKeyNameBuffer = 255;
constexpr std::uint32_t kDeleteNameBuffer = 256;
constexpr char kRangeValue[] = ":Range";

// The names of the key's subkeys, taken before any of them is deleted.
std::vector<std::string> SubkeyNames(Registry& registry, HKey key) {
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::array<char, kKeyNameBuffer> name{};
    std::uint32_t size = kKeyNameBuffer;
    if (registry.EnumKeyEx(key, index, name.data(), &size) != reg::kSuccess) return names;
    names.emplace_back(name.data(), std::find(name.begin(), name.end(), '\0'));
  }
}

// Deletes the key's Trusted sites values; the names of the values it keeps.
std::vector<std::string> RemoveTrustedValues(Registry& registry, HKey key) {
  std::vector<std::string> kept;
  for (const ListedValue& value : ListValues(registry, key)) {
    const bool removed =
        value.HoldsDword(kTrustedSitesZone) && registry.DeleteValue(key, value.name) == reg::kSuccess;
    if (!removed) kept.push_back(value.name);
  }
  return kept;
}

bool HasSubkeys(Registry& registry, HKey key) {
  std::array<char, kKeyNameBuffer> name{};
  std::uint32_t size = kKeyNameBuffer;
  // A key that will not say counts as having some: it is kept.
  return registry.EnumKeyEx(key, 0, name.data(), &size) != reg::kNoMoreItems;
}

// Clears the subkeys of `key`, deepest first, deleting each one left empty, then the Trusted
// sites values of `key` itself. True when `key` is then left with nothing worth keeping.
bool ClearKey(Registry& registry, HKey key, bool range_key, bool subkeys_are_range_keys) {
  for (const std::string& name : SubkeyNames(registry, key)) {
    KeyHandle child;
    if (KeyHandle::Open(registry, key, name, &child) != reg::kSuccess) continue;
    const bool left_empty = ClearKey(registry, child.get(), subkeys_are_range_keys, false);
    child.Close();
    if (left_empty) registry.DeleteKey(key, name);
  }
  const std::vector<std::string> kept = RemoveTrustedValues(registry, key);
  const bool only_address = range_key && kept.size() == 1 && kept.front() == kRangeValue;
  return (kept.empty() || only_address) && !HasSubkeys(registry, key);
}

}  // namespace

// Calls visit(name) for each subkey of root\path in enumeration order, stopping at the first
// enumeration call that does not succeed or when visit returns false. False when the key
// cannot be opened.
template <typename Visit>
bool ZoneMapReader::ForEachSubkey(HKey root, const std::wstring& path, Visit visit) {
  KeyHandle key;
  if (KeyHandle::Open(registry_, root, codec_.ToAnsi(path), &key) != reg::kSuccess) return false;
  for (std::uint32_t index = 0;; ++index) {
    std::array<char, kKeyNameBuffer> name{};
    std::uint32_t size = kKeyNameBuffer;
    if (registry_.EnumKeyEx(key.get(), index, name.data(), &size) != reg::kSuccess) return true;
    if (!visit(codec_.FromAnsi(std::string(name.data(), std::find(name.begin(), name.end(), '\0'))))) return true;
  }
}

void ZoneMapReader::FindDomainsKeys(HKey root, const std::wstring& path, std::vector<std::wstring>& items) {
  WalkDomains(root, path, L"", items);
}

void ZoneMapReader::WalkDomains(HKey root, const std::wstring& path, const std::wstring& host,
                                std::vector<std::wstring>& items) {
  bool has_subkeys = false;
  const bool opened = ForEachSubkey(root, path, [&](const std::wstring& name) {
    has_subkeys = true;
    WalkDomains(root, path + L"\\" + name, name + L"." + host, items);
    return true;
  });
  // Only a leaf below the given key is a site; a key with subkeys gives none of its own.
  if (!opened || has_subkeys || host.empty()) return;
  const std::optional<std::wstring> scheme = TrustedScheme(path);
  if (!scheme) return;
  const std::wstring bare_host = host.substr(0, host.size() - 1);
  items.push_back(*scheme == L"*" ? bare_host : *scheme + L"://" + bare_host);
}

std::optional<std::wstring> ZoneMapReader::TrustedScheme(const std::wstring& key_path) {
  KeyHandle key;
  if (KeyHandle::Open(registry_, reg::kCurrentUser, codec_.ToAnsi(key_path), &key) != reg::kSuccess)
    return std::nullopt;
  std::optional<std::wstring> scheme;
  for (const ListedValue& value : ListValues(registry_, key.get()))
    if (value.name != kRangeValue && value.HoldsDword(kTrustedSitesZone)) scheme = codec_.FromAnsi(value.name);
  return scheme;
}

std::wstring ZoneMapReader::RangeItem(const std::wstring& scheme, const std::wstring& range_key) {
  std::int32_t type = 0;
  const std::wstring address = TrimBlanks(module_.GetRegEntry(L"HKEY_CURRENT_USER", range_key, L":Range", type));
  return CutAtZero(TrimBlanks(scheme) + L"://" + address);
}

void ZoneMapReader::FindRangesKeys(HKey root, const std::wstring& path, std::vector<std::wstring>& items,
                                   const std::wstring& range_prefix) {
  ForEachSubkey(root, path, [&](const std::wstring& name) {
    const std::wstring range_key = range_prefix + name;
    if (const std::optional<std::wstring> scheme = TrustedScheme(range_key))
      items.push_back(RangeItem(*scheme, range_key));
    return true;
  });
}

bool ZoneMapReader::FindRangeItem(HKey root, const std::wstring& path, const std::wstring& range_prefix,
                                  const std::wstring& setup_url, std::int32_t& counter) {
  bool found = false;
  ForEachSubkey(root, path, [&](const std::wstring& name) {
    ++counter;
    const std::wstring range_key = range_prefix + name;
    found = RangeItem(module_.ScanRegValues(L"HKEY_CURRENT_USER", range_key, L"Ranges"), range_key) == setup_url;
    return !found;
  });
  return found;
}

void ClearTrustedEntries(Registry& registry, HKey root, const std::string& path, bool range_keys) {
  KeyHandle key;
  if (KeyHandle::Open(registry, root, path, &key) != reg::kSuccess) return;
  ClearKey(registry, key.get(), false, range_keys);
}

bool DeleteSubkeyTree(Registry& registry, HKey parent, const std::string& path) {
  KeyHandle key;
  if (KeyHandle::Open(registry, parent, path, &key) != reg::kSuccess) return false;
  RegStatus last = registry.DeleteKey(key.get(), "");
  if (last != reg::kSuccess) {
    for (;;) {
      std::array<char, kDeleteNameBuffer> name{};
      if (registry.EnumKey(key.get(), 0, name.data(), kDeleteNameBuffer) != reg::kSuccess) break;
      if (!DeleteSubkeyTree(registry, key.get(), name.data())) break;
    }
    last = registry.DeleteKey(key.get(), "");
  }
  return last == reg::kSuccess;
}

}  // namespace kelpo
