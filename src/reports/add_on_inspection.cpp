#include "reports/add_on_inspection.h"

#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "registry/subkey_iterator.h"
#include "text/strings.h"

namespace kelpo {
namespace {

// Calls `report` for each add-on the reports name (see ReportDisabledToolbars).
void ForEachReportableToolbar(const Platform& platform, const Report& report,
                              const std::function<void(const std::wstring& identifier, const std::wstring& name)>& visit) {
  RegistryReader reader(platform);
  ForEachAddOn(platform, [&](const std::wstring& identifier) {
    const std::wstring name = CutAtZero(reader.ReadText(reg::kClassesRoot, AddOnClassKey(identifier), L""));
    if (name.empty() || !IsToolbarName(name) || report.AnyLineContains(name) || IsHelperOrNotifierName(name)) return;
    visit(identifier, name);
  });
}

}  // namespace

bool IsToolbarName(std::wstring_view name) {
  return Contains(name, L"工具栏") || ContainsIgnoringAsciiCase(name, L"TOOLBAR");
}

bool IsHelperOrNotifierName(std::wstring_view name) {
  return ContainsIgnoringAsciiCase(name, L"HELPER") || ContainsIgnoringAsciiCase(name, L"NOTIFIER");
}

std::wstring AddOnClassKey(const std::wstring& identifier) { return keys::Below(keys::kClassIds, identifier); }

std::wstring AddOnSettingsKey(const std::wstring& identifier) { return keys::Below(keys::kAddOnSettings, identifier); }

std::wstring ToolbarNameOfClass(const Platform& platform, const std::wstring& identifier) {
  std::wstring found;
  for (const ListedValue& value : RegistryReader(platform).ListValues(reg::kClassesRoot, AddOnClassKey(identifier))) {
    const std::wstring text = platform.codec.FromAnsi(UpToFirstZero(std::string_view(value.data)));
    if (IsToolbarName(text)) found = text;
  }
  return found;
}

void ForEachAddOn(const Platform& platform, const std::function<void(const std::wstring& identifier)>& visit) {
  for (SubkeyIterator add_on(platform.registry, reg::kCurrentUser, platform.codec.ToAnsi(keys::kAddOnStats));
       add_on.Valid(); ++add_on)
    visit(platform.codec.FromAnsi(add_on.name()));
}

void DisableToolbarAddOns(const Platform& platform) {
  PolicyWriter writer(platform);
  ForEachAddOn(platform, [&](const std::wstring& identifier) {
    if (!ToolbarNameOfClass(platform, identifier).empty()) writer.DisableAddOn(AddOnSettingsKey(identifier));
  });
}

void ReportInstalledToolbars(const Platform& platform, Report& report) {
  ForEachReportableToolbar(platform, report, [&](const std::wstring&, const std::wstring& name) {
    report.AddLine(report::kWarning, report::kOtherToolbarInstalled, name);
    report.AddSeparator();
  });
}

void ReportDisabledToolbars(const Platform& platform, Report& report) {
  RegistryReader reader(platform);
  ForEachReportableToolbar(platform, report, [&](const std::wstring& identifier, const std::wstring& name) {
    if (reader.KeyExists(reg::kCurrentUser, AddOnSettingsKey(identifier)))
      report.AddLine(report::kSuccess, report::kToolbarDisabled, name);
    else
      report.AddLine(report::kFailure, report::kToolbarNotDisabled, name);
    report.AddSeparator(report::kDisabledAddonSeparatorLength);
  });
}

}  // namespace kelpo
