#include "reports/check_report.h"

#include <cstdint>

#include "registry/key_paths.h"
#include "registry/registry_reader.h"
#include "reports/add_on_inspection.h"
#include "text/numbers.h"

namespace kelpo {
namespace {

// A setting the configuration wants equal to `wanted`: a number stored so, or a string that
// reads as that number.
bool Holds(const RegistryValue& value, std::uint32_t wanted) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number >= 0 && static_cast<std::uint32_t>(*number) == wanted;
  if (const auto* text = std::get_if<std::wstring>(&value)) return EqualsNumber(*text, wanted);
  return false;
}

bool IsEmpty(const RegistryValue& value) {
  const auto* text = std::get_if<std::wstring>(&value);
  return std::holds_alternative<std::monostate>(value) || (text != nullptr && text->empty());
}

void AddLineAndSeparator(Report& report, std::wstring_view status, std::wstring_view text,
                         std::wstring_view variable = {}) {
  report.AddLine(status, text, variable);
  report.AddSeparator();
}

// The three settings every apply writes. `differing` is the status of one that differs.
void CheckSettings(RegistryReader& reader, Report& report, std::wstring_view differing) {
  const auto check = [&](std::wstring_view key, std::wstring_view name, std::uint32_t wanted, std::wstring_view text) {
    const bool as_wanted = Holds(reader.ReadValue(reg::kCurrentUser, key, name), wanted);
    AddLineAndSeparator(report, as_wanted ? report::kSuccess : differing, text);
  };
  check(keys::kNewWindows, keys::kPopupMgr, 0, report::kPopupBlocker);
  check(keys::kTrustedZone, keys::kZoneFlags, 67, report::kServerVerification);
  check(keys::kTrustedZone, keys::kCurrentLevel, 0, report::kCustomLevel);
}

// Before applying: four separate tests of the tab setting, not a chain; an empty setting is as
// wanted on Internet Explorer 8.
void CheckTabs(Report& report, const RegistryValue& tabs, const BrowserVersions& versions) {
  if (Holds(tabs, 2)) AddLineAndSeparator(report, report::kWarning, report::kTabsInNewTab);
  if (Holds(tabs, 0)) AddLineAndSeparator(report, report::kSuccess, report::kTabsIeDecides);
  if (Holds(tabs, 1)) AddLineAndSeparator(report, report::kSuccess, report::kTabsInNewWindow);
  if (IsEmpty(tabs) && IsIeVersion(versions.internet_explorer, L'8'))
    AddLineAndSeparator(report, report::kSuccess, report::kTabsInNewWindow);
}

// After applying: three separate tests, then one separator whatever they wrote.
void VerifyTabs(Report& report, const RegistryValue& tabs, const BrowserVersions&) {
  if (Holds(tabs, 2)) report.AddLine(report::kFailure, report::kTabsInNewTab);
  if (Holds(tabs, 0)) report.AddLine(report::kSuccess, report::kTabsIeDecides);
  if (Holds(tabs, 1)) report.AddLine(report::kSuccess, report::kTabsInNewWindow);
  report.AddSeparator();
}

void CheckFlashPlayer(Report& report, const std::wstring& flash_version) {
  switch (ClassifyFlash(flash_version)) {
    case FlashState::kMissing: AddLineAndSeparator(report, report::kWarning, report::kFlashMissing); break;
    case FlashState::kTooOld: AddLineAndSeparator(report, report::kWarning, report::kFlashTooOld); break;
    case FlashState::kCurrent:
      AddLineAndSeparator(report, report::kSuccess, report::kFlashVersionIs, flash_version);
      break;
  }
}

using TabLines = void (*)(Report&, const RegistryValue& tabs, const BrowserVersions&);
using AddOnLines = void (*)(const Platform&, Report&);

// The settings, the tab setting unless on Internet Explorer 6, Flash Player, then the add-ons.
Report BuildReport(const Platform& platform, const BrowserVersions& versions, std::wstring_view differing,
                   TabLines tab_lines, AddOnLines add_on_lines) {
  RegistryReader reader(platform);
  Report report;
  CheckSettings(reader, report, differing);
  if (!IsIeVersion(versions.internet_explorer, L'6'))
    tab_lines(report, reader.ReadValue(reg::kCurrentUser, keys::kTabbedBrowsing, keys::kPopupsUseNewWindow), versions);
  CheckFlashPlayer(report, versions.flash_player);
  add_on_lines(platform, report);
  return report;
}

// A count after the place of its sign, as the totals show it.
std::wstring SignedCount(int count) { return (count < 0 ? L"" : L" ") + std::to_wstring(count); }

}  // namespace

Report SystemCheckReport(const Platform& platform, const BrowserVersions& versions) {
  return BuildReport(platform, versions, report::kWarning, CheckTabs, ReportInstalledToolbars);
}

Report CompletionReport(const Platform& platform, const BrowserVersions& versions) {
  return BuildReport(platform, versions, report::kFailure, VerifyTabs, ReportDisabledToolbars);
}

std::wstring CompletionTotals(const Report& report) {
  return L"总计：" + std::to_wstring(report.successes + report.failures + report.warnings) + L"   成功：" +
         SignedCount(report.successes) + L"   失败：" + SignedCount(report.failures) + L"   警告：" +
         SignedCount(report.warnings);
}

}  // namespace kelpo
