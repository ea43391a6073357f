#include "apply/apply_outcome.h"

#include <algorithm>

namespace kelpo {

std::wstring_view StepName(ApplyStep step) {
  switch (step) {
    case ApplyStep::kLockNext: return L"lock the Next button";
    case ApplyStep::kCloseBrowser: return L"close the browser";
    case ApplyStep::kClearUrlCache: return L"clear the URL cache";
    case ApplyStep::kDisablePopupBlocker: return L"turn the pop-up blocker off";
    case ApplyStep::kSetTabPopups: return L"let the browser place pop-ups with tabs";
    case ApplyStep::kClearTrustedRanges: return L"clear the Trusted sites ranges";
    case ApplyStep::kDeleteBaiduWhitelist: return L"delete the Baidu white-list";
    case ApplyStep::kClearTrustedDomains: return L"clear the Trusted sites domains";
    case ApplyStep::kDeleteAddOnSettings: return L"delete the add-on settings";
    case ApplyStep::kImportRegistryScript: return L"import the registry script";
    case ApplyStep::kSetTrustedZoneFlags: return L"set the Trusted sites zone flags";
    case ApplyStep::kSetIe8ZoneActions: return L"set the Internet Explorer 8 zone actions";
    case ApplyStep::kDisableToolbarAddOns: return L"disable the toolbar add-ons";
    case ApplyStep::kWriteSite: return L"write a site";
    case ApplyStep::kWriteGoogleWhitelist: return L"write the Google white-list";
    case ApplyStep::kWriteBaiduEntry: return L"write the Baidu entry";
    case ApplyStep::kWriteDomainEntry: return L"write the domain entry";
    case ApplyStep::kWriteEscapeDomainEntry: return L"write the escape domain entry";
    case ApplyStep::kWriteRangeEntry: return L"write the range entry";
    case ApplyStep::kWriteEscapeRangeEntry: return L"write the escape range entry";
    case ApplyStep::kAppendToGoogleWhitelist: return L"add the site to the Google white-list";
    case ApplyStep::kUpdateFlashPlayer: return L"update Flash Player";
    case ApplyStep::kUnlockNext: return L"unlock the Next button";
    case ApplyStep::kOpenCompletionWindow: return L"open the completion window";
    case ApplyStep::kUnloadWindow: return L"unload the trusted-sites window";
  }
  return L"?";
}

std::wstring_view ResultName(StepResult result) {
  switch (result) {
    case StepResult::kDone: return L"done";
    case StepResult::kNotNeeded: return L"not needed";
    case StepResult::kFailed: return L"failed";
  }
  return L"?";
}

const StepOutcome* ApplyOutcome::Find(ApplyStep step) const {
  const auto found = std::find_if(steps.begin(), steps.end(), [&](const StepOutcome& noted) { return noted.step == step; });
  return found == steps.end() ? nullptr : &*found;
}

int ApplyOutcome::CountOf(StepResult result) const {
  return static_cast<int>(
      std::count_if(steps.begin(), steps.end(), [&](const StepOutcome& noted) { return noted.result == result; }));
}

}  // namespace kelpo
