#include "apply/browser_settings.h"

#include <string_view>

#include "registry/key_paths.h"

namespace kelpo {
namespace {

// An option and the key it is written to, below HKEY_CURRENT_USER.
struct BrowserOption {
  std::wstring_view key;
  std::wstring_view option;
};

constexpr BrowserOption kPopupBlocker{keys::kNewWindows, keys::kPopupMgr};
constexpr BrowserOption kTabPopups{keys::kTabbedBrowsing, keys::kPopupsUseNewWindow};
constexpr BrowserOption kZoneFlags{keys::kTrustedZone, keys::kZoneFlags};
constexpr BrowserOption kIe8ZoneActions[] = {{keys::kTrustedZone, L"120B"}, {keys::kTrustedZone, L"1409"}};

void Write(PolicyWriter& writer, const BrowserOption& option) { writer.WriteOption(option.key, option.option); }

ValueLocation LocationOf(const BrowserOption& option) {
  return {{reg::kCurrentUser, std::wstring(option.key)}, std::wstring(option.option)};
}

}  // namespace

void SetPopupBlocker(PolicyWriter& writer) { Write(writer, kPopupBlocker); }

void SetTabPopupBehaviour(PolicyWriter& writer) { Write(writer, kTabPopups); }

void SetTrustedZoneFlags(PolicyWriter& writer) { Write(writer, kZoneFlags); }

void SetIe8ZoneActions(PolicyWriter& writer) {
  for (const BrowserOption& action : kIe8ZoneActions) Write(writer, action);
}

std::vector<ValueLocation> BrowserSettingValues(bool ie8) {
  std::vector<ValueLocation> values{LocationOf(kPopupBlocker), LocationOf(kTabPopups), LocationOf(kZoneFlags)};
  if (ie8)
    for (const BrowserOption& action : kIe8ZoneActions) values.push_back(LocationOf(action));
  return values;
}

}  // namespace kelpo
