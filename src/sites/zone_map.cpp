#include "sites/zone_map.h"

#include <algorithm>
#include <array>

#include "engine/text_rules.h"
#include "registry/key_handle.h"

namespace kelpo {
namespace {
constexpr std::uint32_t kKeyNameBuffer = 255;
constexpr std::uint32_t kDeleteNameBuffer = 256;
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
  const std::wstring bare_host = host.substr(0, host.size() - 1);
  const std::wstring scheme = module_.GetRegValueName(L"HKEY_CURRENT_USER", path);
  items.push_back(scheme == L"*" ? bare_host : scheme + L"://" + bare_host);
}

std::wstring ZoneMapReader::RangeItem(const std::wstring& range_key) {
  const std::wstring scheme = TrimBlanks(module_.ScanRegValues(L"HKEY_CURRENT_USER", range_key, L"Ranges"));
  std::int32_t type = 0;
  const std::wstring address = TrimBlanks(module_.GetRegEntry(L"HKEY_CURRENT_USER", range_key, L":Range", type));
  return CutAtZero(scheme + L"://" + address);
}

void ZoneMapReader::FindRangesKeys(HKey root, const std::wstring& path, std::vector<std::wstring>& items,
                                   const std::wstring& range_prefix) {
  ForEachSubkey(root, path, [&](const std::wstring& name) {
    items.push_back(RangeItem(range_prefix + name));
    return true;
  });
}

bool ZoneMapReader::FindRangeItem(HKey root, const std::wstring& path, const std::wstring& range_prefix,
                                  const std::wstring& setup_url, std::int32_t& counter) {
  bool found = false;
  ForEachSubkey(root, path, [&](const std::wstring& name) {
    ++counter;
    found = RangeItem(range_prefix + name) == setup_url;
    return !found;
  });
  return found;
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
