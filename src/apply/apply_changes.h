#pragma once
// What each apply is about to change in the registry, for the backup taken before it: the trees
// it deletes or writes into, whole, and each single value it writes. What the registry script
// writes is read from the script when the backup is made.
#include <string>

#include "backup/backup_builder.h"
#include "text/versions.h"

namespace kelpo {

// The trusted-sites window's apply: Domains and Ranges (only their Trusted sites entries are
// cleared before the list is written, but both trees are backed up whole, entries of other
// zones with them), the Baidu white-list and the add-on settings (deleted and written again);
// the browser options (Internet Explorer 8's zone actions only on that version) and the Google
// white-list.
ApplyChanges InteractiveApplyChanges(const BrowserVersions& versions);

// Automatic mode: the add-on settings (deleted and written again), the Baidu white-list, and
// Domains and EscDomains for a name or Ranges and EscRanges for an address (the set-up site is
// added to them; a range key's number is found only as it is written); the same single values.
ApplyChanges AutomaticApplyChanges(const BrowserVersions& versions, const std::wstring& setup_address);

}  // namespace kelpo
