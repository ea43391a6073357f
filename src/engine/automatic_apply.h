#pragma once
// The unattended apply of automatic mode: the configuration of the interactive apply for the
// one site of the set-up file, added to what the zone map and toolbar white-lists already hold.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/apply_sequence.h"

namespace kelpo {

// frmAutoSet.ApplySettings. Asks and tests nothing first and shows nothing. Of the old entries
// only the add-on settings are deleted. The site goes under both Domains and EscDomains, or both
// Ranges and EscRanges, and its zone name is appended to the Google white-list read back.
//
// `range_count` and `esc_range_count` are the start-up window's RangeCount and EscRangeCount:
// each range lookup adds one per range key it visits before it finds the address. When it does
// not find it, the address is written under the first RangeN, N from that count plus one up,
// whose key does not exist (an existing key is never written over), and the count becomes N.
void ApplyAutomatically(const Platform& platform, ApplyWindow& window, const std::wstring& setup_url,
                        std::int16_t& range_count, std::int16_t& esc_range_count);

// The Google white-list after `entry` is added to `current`, as it is to be written (blanks
// trimmed): "|entry|" for an empty list, else the list followed by "entry|". Nothing when the
// entry already occurs anywhere in the list, also inside a longer name.
std::optional<std::wstring> ExtendGoogleWhitelist(const std::wstring& current, const std::wstring& entry);

}  // namespace kelpo
