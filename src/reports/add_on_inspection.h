#pragma once
// Browser add-ons: the walk over the current user's "Ext\Stats", which add-ons are toolbars,
// and what is done with them: the applies disable them, the check and completion reports list
// them.
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "reports/report.h"

namespace kelpo {

// A name that marks an add-on as a toolbar: "工具栏", or "TOOLBAR" in any letter case.
bool IsToolbarName(std::wstring_view name);
// A name that contains "HELPER" or "NOTIFIER" in any letter case.
bool IsHelperOrNotifierName(std::wstring_view name);

// "CLSID\" and the identifier (under HKEY_CLASSES_ROOT).
std::wstring AddOnClassKey(const std::wstring& identifier);
// The add-on's settings key under HKEY_CURRENT_USER.
std::wstring AddOnSettingsKey(const std::wstring& identifier);

// Visits the add-ons (the subkeys of "Ext\Stats") in registry order, through the registry's
// subkey walk; a key that cannot be opened gives none.
void ForEachAddOn(const Platform& platform, const std::function<void(const std::wstring& identifier)>& visit);

// The last value text of the add-on's class key that names a toolbar, whatever the value's name
// and type, as far as the enumeration's 255-byte buffer holds it; empty when there is none.
std::wstring ToolbarNameOfClass(const Platform& platform, const std::wstring& identifier);

// The applies' step: every add-on whose class key holds a toolbar name in any value is disabled
// ("Flags" 1 and "Version" "*" in its settings key). Nothing is spared, helpers included.
void DisableToolbarAddOns(const Platform& platform);

// The check report's lines: a warning and a separator per toolbar installed.
void ReportInstalledToolbars(const Platform& platform, Report& report);
// The completion report's lines: per toolbar, a success when its settings key exists and a
// failure otherwise, each followed by the shorter separator.
//
// Both report only an add-on whose registered name (its class key's default value) is a
// toolbar name, is not already inside a line of the report (looked at afresh for each add-on)
// and is not a helper's or notifier's.
void ReportDisabledToolbars(const Platform& platform, Report& report);

}  // namespace kelpo
