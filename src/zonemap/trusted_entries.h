#pragma once
// Clearing the Trusted sites entries of the zone map before the list is written again.
// Entries of other zones are never changed.
#include <string>

#include "platform/registry.h"
#include "platform/text_codec.h"

namespace kelpo {

// Removes the Trusted sites entries below root\path (an ANSI path: Domains or Ranges): every
// value holding the DWORD 2, then every key left with no values and no subkeys, deepest first;
// with `range_keys`, a subkey of the path left with nothing but ":Range" goes too. The key at
// the path itself stays. A key below it that cannot be opened is passed over. The status of
// opening the path's key (kFileNotFound: there was nothing to clear).
[[nodiscard]] RegStatus ClearTrustedEntries(Registry& registry, HKey root, const std::string& path, bool range_keys);

// The same for the current user's Domains and Ranges keys.
[[nodiscard]] RegStatus ClearTrustedDomains(Registry& registry, const TextCodec& codec);
[[nodiscard]] RegStatus ClearTrustedRanges(Registry& registry, const TextCodec& codec);

}  // namespace kelpo
