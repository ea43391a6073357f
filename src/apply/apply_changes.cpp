#include "apply/apply_changes.h"

#include <string_view>

#include "apply/browser_settings.h"
#include "registry/key_paths.h"
#include "zonemap/site_writer.h"

namespace kelpo {
namespace {

KeyLocation UserKey(std::wstring_view path) { return {reg::kCurrentUser, std::wstring(path)}; }

// The single values both applies write: the browser options and the Google white-list.
std::vector<ValueLocation> WrittenValues(const BrowserVersions& versions) {
  std::vector<ValueLocation> values = BrowserSettingValues(IsIeVersion(versions.internet_explorer, L'8'));
  values.push_back({UserKey(keys::kGoogleOptions), std::wstring(keys::kGoogleWhitelistValue)});
  return values;
}

}  // namespace

ApplyChanges InteractiveApplyChanges(const BrowserVersions& versions) {
  ApplyChanges changes;
  changes.replaced_trees = {UserKey(keys::kRanges), UserKey(keys::kBaiduWhiteList), UserKey(keys::kDomains),
                            UserKey(keys::kAddOnSettings)};
  changes.written_values = WrittenValues(versions);
  return changes;
}

ApplyChanges AutomaticApplyChanges(const BrowserVersions& versions, const std::wstring& setup_address) {
  ApplyChanges changes;
  changes.replaced_trees = {UserKey(keys::kAddOnSettings), UserKey(keys::kBaiduWhiteList)};
  switch (ZoneEntryOf(setup_address).form) {
    case ZoneForm::kAddress:
      changes.replaced_trees.push_back(UserKey(keys::kRanges));
      changes.replaced_trees.push_back(UserKey(keys::kEscRanges));
      break;
    case ZoneForm::kNotAnAddress: break;  // no zone-map entry is written
    case ZoneForm::kWwwDomain:
    case ZoneForm::kDomain:
    case ZoneForm::kWord:
      changes.replaced_trees.push_back(UserKey(keys::kDomains));
      changes.replaced_trees.push_back(UserKey(keys::kEscDomains));
      break;
  }
  changes.written_values = WrittenValues(versions);
  return changes;
}

}  // namespace kelpo
