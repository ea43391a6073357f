#pragma once
// The unattended apply of automatic mode: the configuration of the interactive apply for the
// one site of the set-up file, added to what the zone map and toolbar white-lists already hold.
#include <cstdint>
#include <optional>
#include <string>

#include "apply/apply_outcome.h"
#include "platform/platform.h"
#include "text/versions.h"

namespace kelpo {

struct AutomaticApplyOutcome : ApplyOutcome {
  // How far each family of range keys was counted: the keys looked at before the site was
  // found, or the number of the range key the site was written under.
  std::int32_t range_count = 0;
  std::int32_t escape_range_count = 0;
};

// Asks and tests nothing first and shows nothing. Backs up what it is about to change before its
// first step, and logs each step as it is taken (see ApplyJournal); the caller builds the
// completion report with ReportCompletion, which logs its totals. Of the old entries only the
// add-on settings are deleted. The site goes under both Domains and EscDomains, or both Ranges and EscRanges,
// and its zone name is appended to the Google white-list read back.
//
// A range family that already holds the address gets nothing. Otherwise the address is written
// under the first RangeN, counting on from the keys looked at, whose key does not exist (an
// existing key is never written over).
AutomaticApplyOutcome ApplyAutomatically(const Platform& platform, const BrowserVersions& versions,
                                         const std::wstring& setup_address);

// The Google white-list after `entry` is added to `current`, as it is to be written (blanks
// trimmed): "|entry|" for an empty list, else the list followed by "entry|". Nothing when the
// entry already occurs anywhere in the list, also inside a longer name.
std::optional<std::wstring> ExtendGoogleWhitelist(const std::wstring& current, const std::wstring& entry);

}  // namespace kelpo
