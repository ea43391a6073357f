#pragma once
// Browser add-ons: the walk over "Ext\Stats", which add-ons are toolbars, and what each window
// does with them (the apply sequences disable them; the check and completion windows report).
#include <functional>
#include <string>

#include "app/controls.h"
#include "platform/platform.h"

namespace kelpo {

// A name that contains "HELPER" or "NOTIFIER" in any letter case.
bool IsHelperOrNotifierName(const std::wstring& name);

// "CLSID\" and the identifier (under HKEY_CLASSES_ROOT).
std::wstring AddonClassKey(const std::wstring& identifier);
// The add-on's settings key under HKEY_CURRENT_USER.
std::wstring AddonSettingsKey(const std::wstring& identifier);

// Visits the subkeys of the key in registry order: each name read into a 255-character buffer
// and taken up to its first zero. The first enumeration call that does not succeed (the end, a
// name too long for the buffer, any error) ends the walk; a key that cannot be opened gives none.
void ForEachAddon(const Platform& platform, HKey root, const std::wstring& key_path,
                  const std::function<void(const std::wstring& identifier)>& visit);

// The apply sequences' form: every add-on whose class key holds a toolbar name in any value
// is disabled ("Flags" = 1 and "Version" = "*" in its settings key). Nothing is spared.
void DisableToolbarAddons(const Platform& platform, HKey root, const std::wstring& key_path);

// The reports' form: calls `report` for each add-on whose registered name is a toolbar name,
// is not already inside a line of `list` (looked at afresh for each add-on), and is not a
// helper's or notifier's.
void ForEachReportableToolbar(const Platform& platform, HKey root, const std::wstring& key_path,
                              const ListBox& list,
                              const std::function<void(const std::wstring& identifier, const std::wstring& name)>& report);

// The check window's lines: a warning and a separator per toolbar.
void ReportInstalledToolbars(const Platform& platform, HKey root, const std::wstring& key_path, ListBox& list);

// The completion window's lines: per toolbar, success when its settings key exists and failure
// otherwise, each counted and followed by the shorter separator.
void ReportDisabledToolbars(const Platform& platform, HKey root, const std::wstring& key_path, ListBox& list,
                            int& success_count, int& failure_count);

}  // namespace kelpo
