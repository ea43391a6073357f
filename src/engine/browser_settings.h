#pragma once
// The single browser options the apply sets for the current user. Each is one setting name
// handed to the policy writer, which decides the value and data.
#include <string>

#include "registry/module1.h"

namespace kelpo {

// True when the version text, without its leading blanks, begins with `major` ('6', '8').
bool IsIeVersion(const std::wstring& version_text, wchar_t major);

// Pop-up blocker off; written on every run, also when it is off already.
void SetPopupBlocker(Module1& module1);
// With tabs, the browser decides how a pop-up opens.
void SetTabPopupBehaviour(Module1& module1);
// The Trusted sites zone no longer requires https for its sites.
void SetTrustedZoneFlags(Module1& module1);
// On Internet Explorer 8 only: the zone's URL actions "120B", then "1409".
void SetIe8ZoneActions(Module1& module1, const std::wstring& ie_version);

}  // namespace kelpo
