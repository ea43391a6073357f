#pragma once
// The current user's zone map as the site list sees it: the Trusted sites of Domains and
// Ranges read into site items, and the search of a family of range keys for one item.
//
// Layout: below Domains, a site is a key path from the domain down to the host ("example.com"
// then "www" for www.example.com) whose leaf holds one DWORD value per scheme ("http",
// "https", or "*" for every scheme), the data being the zone. Below Ranges (and EscRanges), each
// key "RangeN" holds the address in ":Range" and the scheme values.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "registry/registry_key.h"
#include "registry/registry_reader.h"

namespace kelpo {

// The zone number of Trusted sites: the data of a scheme value that maps a site there.
inline constexpr std::uint32_t kTrustedSitesZone = 2;

// What a search of the range keys found, and how many keys it looked at to find it.
struct RangeSearch {
  bool found = false;
  std::int32_t keys_visited = 0;
};

class ZoneMapReader {
 public:
  ZoneMapReader(Registry& registry, const TextCodec& codec, Desktop& desktop)
      : registry_(registry), codec_(codec), reader_(registry, codec, desktop) {}
  explicit ZoneMapReader(const Platform& platform) : ZoneMapReader(platform.registry, platform.codec, platform.desktop) {}

  // One item for every Trusted sites key without subkeys below Domains: "scheme://host", or
  // the host alone for the scheme "*". The scheme is the last value that holds the DWORD 2; a
  // key with none (a site of another zone) gives no item. A key that cannot be opened is passed
  // over; a subkey name too long for the enumeration's buffer ends its key's walk.
  std::vector<std::wstring> TrustedDomains();
  // "scheme://address" for every range key that has a scheme value holding the DWORD 2; the
  // scheme is the last such value, the address the ":Range" text (blanks trimmed, cut at its
  // first zero).
  std::vector<std::wstring> TrustedRanges();
  // Visits the range keys below `ranges` (keys::kRanges or keys::kEscRanges) in order until one
  // whose item equals `item` exactly; every key visited counts, the found one included. Here the
  // scheme is the last value name other than ":Range", whatever it holds.
  RangeSearch FindRange(std::wstring_view ranges, const std::wstring& item);

 private:
  // A key the reader holds open, and the length of its path from HKEY_CURRENT_USER.
  struct HeldKey {
    RegistryKey key;
    std::size_t path_length = 0;
  };

  // Opens root\path of HKEY_CURRENT_USER with the plain open; false when it does not open.
  bool OpenFromUser(std::wstring_view path, HeldKey* key);
  // The plain open of a subkey below a key held open.
  RegStatus OpenSubkey(const HeldKey& parent, const std::string& name, HeldKey* subkey);
  // Calls visit(name, subkey) for each subkey in the registry's order until it returns false;
  // subkey is null for one that does not open. `count`: how many there are, when known.
  template <typename Visit>
  void ForEachSubkey(const HeldKey& parent, std::optional<std::uint32_t> count, Visit visit);
  void WalkDomains(const HeldKey& key, const std::wstring& host, std::vector<std::wstring>& items);
  // The last scheme value of the key that maps it to Trusted sites; `count`: how many values the
  // key has, when known.
  std::optional<std::wstring> TrustedScheme(HKey key, std::optional<std::uint32_t> count = std::nullopt);
  // The last value name of the key other than ":Range", whatever it holds.
  std::wstring RangeScheme(HKey key);
  // "scheme://address" of the range key root\path.
  std::wstring RangeItem(const std::wstring& scheme, HKey root, std::wstring_view path);

  Registry& registry_;
  const TextCodec& codec_;
  RegistryReader reader_;
};

}  // namespace kelpo
