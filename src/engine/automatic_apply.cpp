#include "engine/automatic_apply.h"

#include "engine/engine_keys.h"
#include "engine/guarded_step.h"
#include "engine/site_writer.h"
#include "engine/text_rules.h"
#include "registry/module1.h"
#include "sites/zone_map.h"

namespace kelpo {
namespace {

// One family of range keys: the key its lookup walks, the prefix new keys are named below,
// the window's lookup and the counter that lookup adds to.
struct RangeFamily {
  const wchar_t* root;
  const wchar_t* path;
  bool (AutoSetWindow::*lookup)(HKey, const std::wstring&);
  std::int32_t& counter;
};

// Writes the address under a new range key unless the family already holds it.
void AddRangeEntry(Module1& module1, AutoSetWindow& window, const RangeFamily& family, const ZoneEntry& entry) {
  const std::int32_t before = family.counter;
  if ((window.*family.lookup)(reg::kCurrentUser, family.root)) return;
  // A lookup that saw all of its k keys leaves a free number among the k + 1 after the count;
  // when the registry says none is, nothing is written.
  const std::int32_t visited = family.counter - before;
  const std::optional<int> number =
      FirstMissingRange(module1, family.path, family.counter + 1, family.counter + visited + 1);
  if (!number) return;
  family.counter = *number;
  WriteRangeEntry(module1, family.path, *number, entry);
}

// The Baidu entry, then the zone-map entry twice: the normal key and the escape key.
void WriteSetupSite(Module1& module1, AutoSetWindow& window, const std::wstring& setup_url, const ZoneEntry& entry,
                    const RangeFamily (&families)[2]) {
  RunGuarded([&] { WriteBaiduEntry(module1, HostOf(setup_url)); });
  if (entry.form != ZoneForm::kAddress) {
    RunGuarded([&] { WriteDomainEntry(module1, keys::kDomainsPath, entry); });
    RunGuarded([&] { WriteDomainEntry(module1, keys::kEscDomainsPath, entry); });
    return;
  }
  for (const RangeFamily& family : families)
    RunGuarded([&] { AddRangeEntry(module1, window, family, entry); });
}

void AppendToGoogleWhitelist(Module1& module1, const std::wstring& entry) {
  const std::wstring current =
      module1.ReadRegValue(reg::kCurrentUser, keys::kGoogleOptions, keys::kGoogleWhitelistValue);
  if (const std::optional<std::wstring> extended = ExtendGoogleWhitelist(current, entry))
    module1.SetRegEntry(keys::kCurrentUser, keys::kGoogleOptions, *extended);
}

}  // namespace

std::optional<std::wstring> ExtendGoogleWhitelist(const std::wstring& current, const std::wstring& entry) {
  if (current.find(entry) != std::wstring::npos) return std::nullopt;
  const std::wstring extended = current.empty() ? L"|" + TrimBlanks(entry) + L"|" : current + TrimBlanks(entry) + L"|";
  return TrimBlanks(extended);
}

void ApplyAutomatically(const Platform& platform, AutoSetWindow& window, const std::wstring& setup_url,
                        std::int32_t& range_count, std::int32_t& esc_range_count) {
  const std::wstring ie_version = IeVersionOf(window);
  CloseBrowserAndSetPopUps(platform, ie_version);
  // The zone map and the Baidu white-list stay: the site is added to them. The add-on settings
  // go before the import, so that those the registry script writes stay.
  RunGuarded([&] { DeleteSubkeyTree(platform.registry, reg::kCurrentUser, platform.codec.ToAnsi(keys::kAddOnSettings)); });
  ImportScriptAndSetTrustedZone(platform, ie_version);
  DisableOtherAddOns(window);
  Module1 module1(platform);
  const ZoneEntry entry = ZoneEntryOf(setup_url);
  const RangeFamily families[] = {
      {keys::kRangesRoot, keys::kRangesPath, &AutoSetWindow::FindRangesKeys, range_count},
      {keys::kEscRangesRoot, keys::kEscRangesPath, &AutoSetWindow::FindEscRangesKeys, esc_range_count}};
  WriteSetupSite(module1, window, setup_url, entry, families);
  // The entry is the zone name: no scheme, and no "www." for a www name.
  RunGuarded([&] { AppendToGoogleWhitelist(module1, entry.name); });
  UpdateFlashPlayerOf(platform, window);
}

}  // namespace kelpo
