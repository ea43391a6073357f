#pragma once
// The single browser options the applies set for the current user. Each is one option name
// handed to the policy writer, which decides the value and data.
#include <vector>

#include "backup/backup_builder.h"
#include "registry/policy_writer.h"

namespace kelpo {

// Pop-up blocker off; written on every run, also when it is off already.
void SetPopupBlocker(PolicyWriter& writer);
// With tabs, the browser decides how a pop-up opens.
void SetTabPopupBehaviour(PolicyWriter& writer);
// The Trusted sites zone no longer requires https for its sites.
void SetTrustedZoneFlags(PolicyWriter& writer);
// Internet Explorer 8's URL actions of the zone: "120B", then "1409".
void SetIe8ZoneActions(PolicyWriter& writer);

// The values the options above write, for the backup (each is named after its option): the
// pop-up blocker, the tab pop-ups, the zone's flags, and with `ie8` the two URL actions.
std::vector<ValueLocation> BrowserSettingValues(bool ie8);

}  // namespace kelpo
