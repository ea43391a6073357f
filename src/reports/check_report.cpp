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

// After applying, a setting that differs failed; each line is counted.
void VerifySetting(ListBox& list, const std::wstring& value, std::uint32_t wanted, std::wstring_view text,
                   int& success_count, int& failure_count) {
  const bool as_wanted = EqualsNumber(value, wanted);
  AddLineAndSeparator(list, as_wanted ? report::kSuccess : report::kFailure, text);
  ++(as_wanted ? success_count : failure_count);
}

// A line counted under its status; the separator is the caller's.
void AddCountedLine(ListBox& list, std::wstring_view status, std::wstring_view text, int& count) {
  list.AddItem(ReportLine(status, text));
  ++count;
}

// A count after the place of its sign, as the totals show it.
std::wstring SignedCount(int count) { return (count < 0 ? L"" : L" ") + std::to_wstring(count); }

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

void WriteCompletionChecks(const Platform& platform, Label& ie_version, Label& flash_version, ListBox& list,
                           int& success_count, int& failure_count, int& warning_count) {
  Module1 module1(platform);
  ie_version.SetCaption(ReadIeVersion(module1));

  VerifySetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kNewWindows, keys::kPopupMgr), 0,
                report::kPopupBlocker, success_count, failure_count);
  VerifySetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kTrustedZone, keys::kZoneFlags), 67,
                report::kServerVerification, success_count, failure_count);
  VerifySetting(list, module1.ReadRegValue(reg::kCurrentUser, keys::kTrustedZone, keys::kCurrentLevel), 0,
                report::kCustomLevel, success_count, failure_count);

  if (!IsIeVersion(ie_version.caption(), L'6')) {
    const std::wstring tabs =
        module1.ReadRegValue(reg::kCurrentUser, keys::kTabbedBrowsing, keys::kPopupsUseNewWindow);
    // Three separate tests, then one separator whatever they wrote.
    if (EqualsNumber(tabs, 2)) AddCountedLine(list, report::kFailure, report::kTabsInNewTab, failure_count);
    if (EqualsNumber(tabs, 0)) AddCountedLine(list, report::kSuccess, report::kTabsIeDecides, success_count);
    if (EqualsNumber(tabs, 1)) AddCountedLine(list, report::kSuccess, report::kTabsInNewWindow, success_count);
    list.AddItem(Separator());
  }

  flash_version.SetCaption(ReadFlashVersion(module1));
  switch (ClassifyFlash(flash_version.caption())) {
    case FlashState::kMissing:
      AddLineAndSeparator(list, report::kWarning, report::kFlashMissing);
      ++warning_count;
      break;
    case FlashState::kTooOld:
      AddLineAndSeparator(list, report::kWarning, report::kFlashTooOld);
      ++warning_count;
      break;
    case FlashState::kCurrent:
      AddLineAndSeparator(list, report::kSuccess, report::kFlashVersionIs, flash_version.caption());
      ++success_count;
      break;
  }
}

std::wstring CompletionTotals(int success_count, int failure_count, int warning_count) {
  return L"总计：" + std::to_wstring(success_count + failure_count + warning_count) + L"   成功：" +
         SignedCount(success_count) + L"   失败：" + SignedCount(failure_count) + L"   警告：" +
         SignedCount(warning_count);
}

}  // namespace kelpo
