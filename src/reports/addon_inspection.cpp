#include "reports/addon_inspection.h"

#include <algorithm>
#include <array>

#include "registry/key_handle.h"
#include "registry/module1.h"
#include "reports/browser_keys.h"
#include "reports/report_lines.h"

namespace kelpo {
namespace {

constexpr std::uint32_t kNameBufferSize = 255;

bool Contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

}  // namespace

bool IsHelperOrNotifierName(const std::wstring& name) {
  const std::wstring upper = AsciiUpper(name);
  return Contains(upper, L"HELPER") || Contains(upper, L"NOTIFIER");
}

std::wstring AddonClassKey(const std::wstring& identifier) { return L"CLSID\\" + identifier; }

std::wstring AddonSettingsKey(const std::wstring& identifier) {
  return std::wstring(keys::kAddOnSettings) + L"\\" + identifier;
}

void ForEachAddon(const Platform& platform, HKey root, const std::wstring& key_path,
                  const std::function<void(const std::wstring& identifier)>& visit) {
  KeyHandle key;
  if (KeyHandle::Open(platform.registry, root, platform.codec.ToAnsi(key_path), &key) != reg::kSuccess) return;
  for (std::uint32_t index = 0;; ++index) {
    std::array<char, kNameBufferSize> name{};
    std::uint32_t name_size = kNameBufferSize;
    if (platform.registry.EnumKeyEx(key.get(), index, name.data(), &name_size) != reg::kSuccess) break;
    const auto end = std::find(name.begin(), name.end(), '\0');
    visit(platform.codec.FromAnsi(std::string_view(name.data(), static_cast<std::size_t>(end - name.begin()))));
  }
}

void DisableToolbarAddons(const Platform& platform, HKey root, const std::wstring& key_path) {
  Module1 module1(platform);
  ForEachAddon(platform, root, key_path, [&](const std::wstring& identifier) {
    if (module1.ScanRegValues(L"HKEY_CLASSES_ROOT", AddonClassKey(identifier), L"GetData").empty()) return;
    module1.SetRegEntry(L"HKEY_CURRENT_USER", AddonSettingsKey(identifier), L"Flags1");
    module1.SetRegEntry(L"HKEY_CURRENT_USER", AddonSettingsKey(identifier), L"Version");
  });
}

void ForEachReportableToolbar(const Platform& platform, HKey root, const std::wstring& key_path,
                              const ListBox& list,
                              const std::function<void(const std::wstring& identifier, const std::wstring& name)>& report) {
  Module1 module1(platform);
  ForEachAddon(platform, root, key_path, [&](const std::wstring& identifier) {
    const std::wstring name = CutAtZero(module1.ReadRegValue(reg::kClassesRoot, AddonClassKey(identifier), L""));
    if (name.empty() || !IsToolbarName(name)) return;
    const auto& lines = list.items();
    if (std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) { return Contains(line, name); })) return;
    if (IsHelperOrNotifierName(name)) return;
    report(identifier, name);
  });
}

void ReportInstalledToolbars(const Platform& platform, HKey root, const std::wstring& key_path, ListBox& list) {
  ForEachReportableToolbar(platform, root, key_path, list, [&](const std::wstring&, const std::wstring& name) {
    list.AddItem(ReportLine(report::kWarning, report::kOtherToolbarInstalled, name));
    list.AddItem(Separator());
  });
}

void ReportDisabledToolbars(const Platform& platform, HKey root, const std::wstring& key_path, ListBox& list,
                            int& success_count, int& failure_count) {
  Module1 module1(platform);
  ForEachReportableToolbar(platform, root, key_path, list, [&](const std::wstring& identifier, const std::wstring& name) {
    if (module1.RegKeyExists(L"HKEY_CURRENT_USER", AddonSettingsKey(identifier))) {
      list.AddItem(ReportLine(report::kSuccess, report::kToolbarDisabled, name));
      ++success_count;
    } else {
      list.AddItem(ReportLine(report::kFailure, report::kToolbarNotDisabled, name));
      ++failure_count;
    }
    list.AddItem(Separator(report::kDisabledAddonSeparatorLength));
  });
}

}  // namespace kelpo
