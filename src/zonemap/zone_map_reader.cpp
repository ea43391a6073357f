#include "zonemap/zone_map_reader.h"

#include "registry/key_paths.h"
#include "registry/subkey_iterator.h"
#include "text/strings.h"

namespace kelpo {
namespace {

bool IsRangeValue(const ListedValue& value) { return value.name == ":Range"; }

}  // namespace

template <typename Visit>
bool ZoneMapReader::ForEachSubkey(const std::wstring& path, Visit visit) {
  SubkeyIterator subkey(registry_, reg::kCurrentUser, codec_.ToAnsi(path));
  for (; subkey.Valid(); ++subkey)
    if (!visit(codec_.FromAnsi(subkey.name()))) break;
  return subkey.opened();
}

std::vector<std::wstring> ZoneMapReader::TrustedDomains() {
  std::vector<std::wstring> items;
  WalkDomains(std::wstring(keys::kDomains), L"", items);
  return items;
}

void ZoneMapReader::WalkDomains(const std::wstring& path, const std::wstring& host, std::vector<std::wstring>& items) {
  bool has_subkeys = false;
  const bool opened = ForEachSubkey(path, [&](const std::wstring& name) {
    has_subkeys = true;
    WalkDomains(keys::Below(path, name), name + L"." + host, items);
    return true;
  });
  // Only a leaf below Domains is a site; a key with subkeys gives none of its own.
  if (!opened || has_subkeys || host.empty()) return;
  const std::optional<std::wstring> scheme = TrustedScheme(path);
  if (!scheme) return;
  const std::wstring bare_host = host.substr(0, host.size() - 1);
  items.push_back(*scheme == L"*" ? bare_host : *scheme + L"://" + bare_host);
}

std::optional<std::wstring> ZoneMapReader::TrustedScheme(const std::wstring& key_path) {
  std::optional<std::wstring> scheme;
  for (const ListedValue& value : reader_.ListValues(reg::kCurrentUser, key_path))
    if (!IsRangeValue(value) && value.HoldsDword(kTrustedSitesZone)) scheme = codec_.FromAnsi(value.name);
  return scheme;
}

std::wstring ZoneMapReader::RangeScheme(const std::wstring& key_path) {
  std::wstring scheme;
  for (const ListedValue& value : reader_.ListValues(reg::kCurrentUser, key_path))
    if (!IsRangeValue(value)) scheme = codec_.FromAnsi(value.name);
  return scheme;
}

std::wstring ZoneMapReader::RangeItem(const std::wstring& scheme, const std::wstring& range_key) {
  const std::wstring address = TrimBlanks(reader_.ReadStoredText(reg::kCurrentUser, range_key, keys::kRangeValue).text);
  // The address keeps its terminating zero up to here: the item is cut at it.
  return CutAtZero(TrimBlanks(scheme) + L"://" + address);
}

std::vector<std::wstring> ZoneMapReader::TrustedRanges() {
  std::vector<std::wstring> items;
  ForEachSubkey(std::wstring(keys::kRanges), [&](const std::wstring& name) {
    const std::wstring range_key = keys::Below(keys::kRanges, name);
    if (const std::optional<std::wstring> scheme = TrustedScheme(range_key)) items.push_back(RangeItem(*scheme, range_key));
    return true;
  });
  return items;
}

RangeSearch ZoneMapReader::FindRange(std::wstring_view ranges, const std::wstring& item) {
  RangeSearch search;
  ForEachSubkey(std::wstring(ranges), [&](const std::wstring& name) {
    ++search.keys_visited;
    const std::wstring range_key = keys::Below(ranges, name);
    search.found = RangeItem(RangeScheme(range_key), range_key) == item;
    return !search.found;
  });
  return search;
}

}  // namespace kelpo
