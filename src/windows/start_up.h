#pragma once
// The start-up without a window: what the start-up window and the quiet run both do, in one
// place. The companion files, the versions, the set-up file; then, in automatic mode, the
// apply of the set-up site.
#include <optional>
#include <string>

#include "apply/automatic_apply.h"
#include "platform/platform.h"
#include "text/versions.h"

namespace kelpo {

struct StartUpFindings {
  BrowserVersions versions;    // as stored: the versions the apply goes by
  std::wstring setup_address;  // the set-up file's address, normalised; empty when it names none
  bool automatic_mode = false; // "Run=AUTO" came before the first "URL=" line
};

// The three companion files in order; the first one missing is named in a message box, and
// then nothing is read and there are no findings. Otherwise the versions, then the set-up file.
std::optional<StartUpFindings> ReadStartUp(const Platform& platform);

// Automatic mode's apply of the set-up site: the one way from the start-up to the apply, for
// the start-up window's automatic mode and the quiet run alike.
AutomaticApplyOutcome ApplySetupSite(const Platform& platform, const StartUpFindings& start_up);

}  // namespace kelpo
