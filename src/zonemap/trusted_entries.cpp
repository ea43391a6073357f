#include "zonemap/trusted_entries.h"

#include <vector>

#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "registry/subkey_iterator.h"
#include "registry/value_list.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo {
namespace {

constexpr char kRangeValue[] = ":Range";

// The names of the key's subkeys, taken before any of them is deleted.
std::vector<std::string> SubkeyNames(Registry& registry, HKey key) {
  std::vector<std::string> names;
  for (SubkeyIterator subkey(registry, key); subkey.Valid(); ++subkey) names.push_back(subkey.name());
  return names;
}

// A key that will not say counts as having some: it is kept.
bool HasSubkeys(Registry& registry, HKey key) {
  const SubkeyIterator first(registry, key);
  return first.status() != reg::kNoMoreItems;
}

// Deletes the key's Trusted sites values; the names of the values it keeps.
std::vector<std::string> RemoveTrustedValues(Registry& registry, HKey key) {
  std::vector<std::string> kept;
  for (const ListedValue& value : ListValues(registry, key)) {
    const bool removed = value.HoldsDword(kTrustedSitesZone) && registry.DeleteValue(key, value.name) == reg::kSuccess;
    if (!removed) kept.push_back(value.name);
  }
  return kept;
}

// Clears the subkeys of `key`, deepest first, deleting each one left empty, then the Trusted
// sites values of `key` itself. True when `key` is then left with nothing worth keeping.
bool ClearKey(Registry& registry, HKey key, bool range_key, bool subkeys_are_range_keys) {
  for (const std::string& name : SubkeyNames(registry, key)) {
    RegistryKey child;
    if (OpenRegistryKey(registry, key, name, &child) != reg::kSuccess) continue;
    const bool left_empty = ClearKey(registry, child.get(), subkeys_are_range_keys, false);
    child.Close();
    if (left_empty) registry.DeleteKey(key, name);
  }
  const std::vector<std::string> kept = RemoveTrustedValues(registry, key);
  const bool only_address = range_key && kept.size() == 1 && kept.front() == kRangeValue;
  return (kept.empty() || only_address) && !HasSubkeys(registry, key);
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
