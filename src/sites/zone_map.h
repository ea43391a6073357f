#pragma once
// The current user's zone map as the site list sees it: reading the Trusted sites of Domains and
// Ranges into site items, searching the range keys for one address, clearing the Trusted sites
// entries, and deleting a key with its subtree.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_keys.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "registry/module1.h"

namespace kelpo {

// The zone number of Trusted sites: the data of a scheme value that maps a site there.
inline constexpr std::uint32_t kTrustedSitesZone = 2;

class ZoneMapReader {
 public:
  ZoneMapReader(Registry& registry, const TextCodec& codec, Module1& module)
      : registry_(registry), codec_(codec), module_(module) {}

  // Appends one item for every Trusted sites key without subkeys below `path`: "scheme://host",
  // or the host alone for the scheme "*". The scheme is the last value that holds the DWORD 2;
  // a key with none (a site of another zone) gives no item. The values are read under
  // HKEY_CURRENT_USER whatever the root.
  void FindDomainsKeys(HKey root, const std::wstring& path, std::vector<std::wstring>& items);
  // Appends "scheme://address" for every subkey of `path`, read below `range_prefix`, that has
  // a scheme value holding the DWORD 2; the scheme is the last such value.
  void FindRangesKeys(HKey root, const std::wstring& path, std::vector<std::wstring>& items,
                      const std::wstring& range_prefix = keys::kRangesPath);
  // Visits the range keys in order, counting each, until one's item equals `setup_url`.
  bool FindRangeItem(HKey root, const std::wstring& path, const std::wstring& range_prefix,
                     const std::wstring& setup_url, std::int32_t& counter);

 private:
  void WalkDomains(HKey root, const std::wstring& path, const std::wstring& host,
                   std::vector<std::wstring>& items);
  // The last scheme value of the key below HKEY_CURRENT_USER that maps it to Trusted sites.
  std::optional<std::wstring> TrustedScheme(const std::wstring& key_path);
  std::wstring RangeItem(const std::wstring& scheme, const std::wstring& range_key);
  template <typename Visit>
  bool ForEachSubkey(HKey root, const std::wstring& path, Visit visit);

  Registry& registry_;
  const TextCodec& codec_;
  Module1& module_;
};

// Deletes the key and everything below it. True only when the key itself was deleted; a subkey
// that cannot be deleted stops the deletion of its parent.
bool DeleteSubkeyTree(Registry& registry, HKey parent, const std::string& path);

// Removes the Trusted sites entries below `path` (Domains or Ranges): every value holding the
// DWORD 2, then every key left with no values and no subkeys, deepest first; with `range_keys`,
// a subkey of `path` left with nothing but ":Range" goes too. The key `path` itself stays.
// Entries of other zones are never changed. A key that cannot be opened is passed over.
void ClearTrustedEntries(Registry& registry, HKey root, const std::string& path, bool range_keys);

}  // namespace kelpo
