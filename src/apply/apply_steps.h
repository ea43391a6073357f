#pragma once
// The steps of the applies, each guarded and noted, in the order the applies take them.
#include <string>

#include "apply/apply_outcome.h"
#include "platform/platform.h"
#include "text/versions.h"

namespace kelpo {

// Ends the browser; clears the URL cache on Internet Explorer 6; pop-up blocker and tab
// pop-up behaviour.
void CloseBrowserAndSetPopUps(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps);
// Imports the registry script and waits for the import to end; then the zone flags and the
// Internet Explorer 8 zone actions, so that the program's settings win where both write.
void ImportScriptAndSetTrustedZone(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps);
// Before the registry script is imported and the list written (the interactive apply), in this
// order: the Trusted sites entries of Ranges, the Baidu white-list with all its subkeys, the
// Trusted sites entries of Domains, the add-on settings with all their subkeys. Entries of other
// zones, and the escape keys, stay.
void DeleteOldEntries(const Platform& platform, StepRecorder& steps);
// Deletes the add-on settings with all their subkeys.
void DeleteAddOnSettings(const Platform& platform, StepRecorder& steps);
// Disables every add-on whose class registration names a toolbar.
void DisableToolbarAddOnsStep(const Platform& platform, StepRecorder& steps);
// Runs the Flash Player installer, and waits for it, when the version calls for it.
void UpdateFlashPlayer(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps);

}  // namespace kelpo
