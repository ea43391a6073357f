#include "zonemap/zone_map_reader.h"

#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "registry/subkey_iterator.h"
#include "text/strings.h"

namespace kelpo {
namespace {

bool IsRangeValue(const ListedValue& value) { return value.name == ":Range"; }

}  // namespace

// The readers walk the tree with the keys they hold open, each subkey opened below its parent,
// and get what opening every key from HKEY_CURRENT_USER by its whole path would get: the same
// plain open, and a key whose whole path is too long for the ANSI calls does not open.
RegStatus ZoneMapReader::OpenSubkey(const HeldKey& parent, const std::string& name, HeldKey* subkey) {
  const std::size_t path_length = parent.path_length + 1 + name.size();
  if (path_length > reg::kMaxAnsiPath) return reg::kMoreData;
  const RegStatus status = OpenRegistryKey(registry_, parent.key.get(), name, &subkey->key);
  if (status == reg::kSuccess) subkey->path_length = path_length;
  return status;
}

template <typename Visit>
void ZoneMapReader::ForEachSubkey(const HeldKey& parent, std::optional<std::uint32_t> count, Visit visit) {
  for (SubkeyIterator subkey(registry_, parent.key.get(), count); subkey.Valid(); ++subkey) {
    HeldKey opened;
    const bool open = OpenSubkey(parent, subkey.name(), &opened) == reg::kSuccess;
    if (!visit(subkey.name(), open ? &opened : nullptr)) break;
  }
}

bool ZoneMapReader::OpenFromUser(std::wstring_view path, HeldKey* key) {
  const std::string ansi_path = codec_.ToAnsi(path);
  key->path_length = ansi_path.size();
  return OpenRegistryKey(registry_, reg::kCurrentUser, ansi_path, &key->key) == reg::kSuccess;
}

std::vector<std::wstring> ZoneMapReader::TrustedDomains() {
  std::vector<std::wstring> items;
  HeldKey domains;
  if (OpenFromUser(keys::kDomains, &domains)) WalkDomains(domains, L"", items);
  return items;
}

void ZoneMapReader::WalkDomains(const HeldKey& key, const std::wstring& host, std::vector<std::wstring>& items) {
  // Known, the counts spare a leaf the two calls that only say there is nothing more.
  const std::optional<KeyCounts> counts = CountKeyContents(registry_, key.key.get());
  bool has_subkeys = false;
  ForEachSubkey(key, counts ? std::optional(counts->subkeys) : std::nullopt,
                [&](const std::string& name, const HeldKey* subkey) {
    has_subkeys = true;
    if (subkey != nullptr) WalkDomains(*subkey, codec_.FromAnsi(name) + L"." + host, items);
    return true;
  });
  // Only a leaf below Domains is a site; a key with subkeys gives none of its own.
  if (has_subkeys || host.empty()) return;
  const std::optional<std::wstring> scheme =
      TrustedScheme(key.key.get(), counts ? std::optional(counts->values) : std::nullopt);
  if (!scheme) return;
  const std::wstring bare_host = host.substr(0, host.size() - 1);
  items.push_back(*scheme == L"*" ? bare_host : *scheme + L"://" + bare_host);
}

std::optional<std::wstring> ZoneMapReader::TrustedScheme(HKey key, std::optional<std::uint32_t> count) {
  std::optional<std::wstring> scheme;
  for (const ListedValue& value : ListValues(registry_, key, count))
    if (!IsRangeValue(value) && value.HoldsDword(kTrustedSitesZone)) scheme = codec_.FromAnsi(value.name);
  return scheme;
}

std::wstring ZoneMapReader::RangeScheme(HKey key) {
  std::wstring scheme;
  for (const ListedValue& value : ListValues(registry_, key))
    if (!IsRangeValue(value)) scheme = codec_.FromAnsi(value.name);
  return scheme;
}

std::wstring ZoneMapReader::RangeItem(const std::wstring& scheme, HKey root, std::wstring_view path) {
  // Read as any stored value is read: a key of its own, opened for reading only.
  const std::wstring address = TrimBlanks(reader_.ReadStoredText(root, path, keys::kRangeValue).text);
  // The address keeps its terminating zero up to here: the item is cut at it.
  return CutAtZero(TrimBlanks(scheme) + L"://" + address);
}

std::vector<std::wstring> ZoneMapReader::TrustedRanges() {
  std::vector<std::wstring> items;
  HeldKey ranges;
  if (!OpenFromUser(keys::kRanges, &ranges)) return items;
  ForEachSubkey(ranges, std::nullopt, [&](const std::string&, const HeldKey* range) {
    if (range == nullptr) return true;
    if (const std::optional<std::wstring> scheme = TrustedScheme(range->key.get()))
      items.push_back(RangeItem(*scheme, range->key.get(), L""));
    return true;
  });
  return items;
}

RangeSearch ZoneMapReader::FindRange(std::wstring_view ranges, const std::wstring& item) {
  RangeSearch search;
  HeldKey family;
  if (!OpenFromUser(ranges, &family)) return search;
  ForEachSubkey(family, std::nullopt, [&](const std::string& name, const HeldKey* range) {
    ++search.keys_visited;
    // A key that does not open has no scheme; its address is still looked for by its path.
    const std::wstring found = range != nullptr
                                   ? RangeItem(RangeScheme(range->key.get()), range->key.get(), L"")
                                   : RangeItem(L"", reg::kCurrentUser, keys::Below(ranges, codec_.FromAnsi(name)));
    search.found = found == item;
    return !search.found;
  });
  return search;
}

}  // namespace kelpo
