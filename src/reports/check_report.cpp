#include "reports/check_report.h"

#include "engine/browser_settings.h"
#include "registry/module1.h"
#include "reports/browser_keys.h"
#include "reports/check_rules.h"
#include "reports/report_lines.h"

namespace kelpo {
namespace {

void AddLineAndSeparator(ListBox& list, std::wstring_view status, std::wstring_view text,
                         std::wstring_view variable = {}) {
  list.AddItem(ReportLine(status, text, variable));
  list.AddItem(Separator());
}

// A setting the configuration wants equal to `wanted`: success, or a warning.
void CheckSetting(ListBox& list, const std::wstring& value, std::uint32_t wanted, std::wstring_view text) {
  AddLineAndSeparator(list, EqualsNumber(value, wanted) ? report::kSuccess : report::kWarning, text);
}

}  // namespace

void WriteSystemCheck(const Platform& platform, Label& ie_version, Label& flash_version, ListBox& list) {
  Module1 module1(platform);
  ie_version.SetCaption(ReadIeVersion(module1));

  CheckSetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kNewWindows, keys::kPopupMgr), 0,
               report::kPopupBlocker);
  CheckSetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kTrustedZone, keys::kZoneFlags), 67,
               report::kServerVerification);
  CheckSetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kTrustedZone, keys::kCurrentLevel), 0,
               report::kCustomLevel);

  if (!IsIeVersion(ie_version.caption(), L'6')) {
    const std::wstring tabs =
        module1.ReadRegValue(reg::kCurrentUser, keys::kTabbedBrowsing, keys::kPopupsUseNewWindow);
    // Four separate tests, not a chain.
    if (EqualsNumber(tabs, 2)) AddLineAndSeparator(list, report::kWarning, report::kTabsInNewTab);
    if (EqualsNumber(tabs, 0)) AddLineAndSeparator(list, report::kSuccess, report::kTabsIeDecides);
    if (EqualsNumber(tabs, 1)) AddLineAndSeparator(list, report::kSuccess, report::kTabsInNewWindow);
    if (tabs.empty() && IsIeVersion(ie_version.caption(), L'8'))
      AddLineAndSeparator(list, report::kSuccess, report::kTabsInNewWindow);
  }

  flash_version.SetCaption(ReadFlashVersion(module1));
  switch (ClassifyFlash(flash_version.caption())) {
    case FlashState::kMissing: AddLineAndSeparator(list, report::kWarning, report::kFlashMissing); break;
    case FlashState::kTooOld: AddLineAndSeparator(list, report::kWarning, report::kFlashTooOld); break;
    case FlashState::kCurrent:
      AddLineAndSeparator(list, report::kSuccess, report::kFlashVersionIs, flash_version.caption());
      break;
  }
}

}  // namespace kelpo
