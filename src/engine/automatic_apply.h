#pragma once
// The unattended apply of automatic mode: the configuration of the interactive apply for the
// one site of the set-up file, added to what the zone map and toolbar white-lists already hold.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/apply_sequence.h"

namespace kelpo {

// The start-up window, as automatic mode's apply sees it.
class AutoSetWindow : public ApplyWindow {
 public:
  // True when a range key below the key holds the set-up address; every range key visited
  // before it adds one to RangeCount (FindEscRangesKeys: to EscRangeCount).
  virtual bool FindRangesKeys(HKey root, const std::wstring& key_path) = 0;
  virtual bool FindEscRangesKeys(HKey root, const std::wstring& key_path) = 0;
};

// frmAutoSet.ApplySettings. Asks and tests nothing first and shows nothing. Of the old entries
// only the add-on settings are deleted. The site goes under both Domains and EscDomains, or both
// Ranges and EscRanges, and its zone name is appended to the Google white-list read back.
//
// `range_count` and `esc_range_count` are the window's RangeCount and EscRangeCount, the
// counters its range lookups add to. An address the lookup does not find is written under the
// first RangeN, N from the count plus one up, whose key does not exist (an existing key is
// never written over), and the count becomes N.
void ApplyAutomatically(const Platform& platform, AutoSetWindow& window, const std::wstring& setup_url,
                        std::int32_t& range_count, std::int32_t& esc_range_count);

// The Google white-list after `entry` is added to `current`, as it is to be written (blanks
// trimmed): "|entry|" for an empty list, else the list followed by "entry|". Nothing when the
// entry already occurs anywhere in the list, also inside a longer name.
std::optional<std::wstring> ExtendGoogleWhitelist(const std::wstring& current, const std::wstring& entry);

}  // namespace kelpo
