#pragma once
// The system check: reads the browser configuration and appends one line per check to the
// check window's list. It only reads.
#include "app/controls.h"
#include "platform/platform.h"

namespace kelpo {

// Internet Explorer version into ie_version; pop-up blocker, server verification, security
// level, tab pop-ups (unless Internet Explorer 6) and Flash Player lines into list; the Flash
// Player version into flash_version. The add-on lines are the caller's last step.
void WriteSystemCheck(const Platform& platform, Label& ie_version, Label& flash_version, ListBox& list);

}  // namespace kelpo
