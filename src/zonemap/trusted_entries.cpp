#include "zonemap/trusted_entries.h"

#include <optional>
#include <vector>

#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "registry/subkey_iterator.h"
#include "registry/value_list.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo {
namespace {

constexpr char kRangeValue[] = ":Range";

// The names of the key's subkeys, taken before any of them is deleted; `whole` says whether the
// list reached its end.
std::vector<std::string> SubkeyNames(Registry& registry, HKey key, std::optional<std::uint32_t> count, bool* whole) {
  std::vector<std::string> names;
  SubkeyIterator subkey(registry, key, count);
  for (; subkey.Valid(); ++subkey) names.push_back(subkey.name());
  *whole = subkey.status() == reg::kNoMoreItems;
  return names;
}

// A key that will not say counts as having some: it is kept.
bool HasSubkeys(Registry& registry, HKey key) {
  const SubkeyIterator first(registry, key);
  return first.status() != reg::kNoMoreItems;
}

// Deletes the key's Trusted sites values; the names of the values it keeps.
std::vector<std::string> RemoveTrustedValues(Registry& registry, HKey key, std::optional<std::uint32_t> count) {
  std::vector<std::string> kept;
  for (const ListedValue& value : ListValues(registry, key, count)) {
    const bool removed = value.HoldsDword(kTrustedSitesZone) && registry.DeleteValue(key, value.name) == reg::kSuccess;
    if (!removed) kept.push_back(value.name);
  }
  return kept;
}

// Clears the subkeys of `key`, deepest first, deleting each one left empty, then the Trusted
// sites values of `key` itself. True when `key` is then left with nothing worth keeping.
bool ClearKey(Registry& registry, HKey key, bool range_key, bool subkeys_are_range_keys) {
  const std::optional<KeyCounts> counts = CountKeyContents(registry, key);
  bool whole = false;
  const std::vector<std::string> names =
      SubkeyNames(registry, key, counts ? std::optional(counts->subkeys) : std::nullopt, &whole);
  // When every subkey listed has been deleted, none is left: no need to ask again.
  bool all_deleted = whole;
  for (const std::string& name : names) {
    RegistryKey child;
    if (OpenRegistryKey(registry, key, name, &child) != reg::kSuccess) {
      all_deleted = false;
      continue;
    }
    const bool left_empty = ClearKey(registry, child.get(), subkeys_are_range_keys, false);
    child.Close();
    all_deleted = left_empty && registry.DeleteKey(key, name) == reg::kSuccess && all_deleted;
  }
  const std::vector<std::string> kept =
      RemoveTrustedValues(registry, key, counts ? std::optional(counts->values) : std::nullopt);
  const bool only_address = range_key && kept.size() == 1 && kept.front() == kRangeValue;
  return (kept.empty() || only_address) && (all_deleted || !HasSubkeys(registry, key));
}

}  // namespace

RegStatus ClearTrustedEntries(Registry& registry, HKey root, const std::string& path, bool range_keys) {
  RegistryKey key;
  const RegStatus opened = OpenRegistryKey(registry, root, path, &key);
  if (opened == reg::kSuccess) ClearKey(registry, key.get(), false, range_keys);
  return opened;
}

RegStatus ClearTrustedDomains(Registry& registry, const TextCodec& codec) {
  return ClearTrustedEntries(registry, reg::kCurrentUser, codec.ToAnsi(keys::kDomains), false);
}

RegStatus ClearTrustedRanges(Registry& registry, const TextCodec& codec) {
  return ClearTrustedEntries(registry, reg::kCurrentUser, codec.ToAnsi(keys::kRanges), true);
}

}  // namespace kelpo
