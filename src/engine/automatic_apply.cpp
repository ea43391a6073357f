#include "engine/automatic_apply.h"

#include "engine/engine_keys.h"
#include "engine/guarded_step.h"
#include "engine/site_writer.h"
#include "engine/text_rules.h"
#include "registry/key_handle.h"
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

// The first range number from `first` on whose key is missing, trying at most `tries` numbers.
// A key that cannot be looked at counts as taken, so no address is written over another.
std::optional<std::int32_t> FreeRangeNumber(const Platform& platform, const std::wstring& ranges_path,
                                             std::int32_t first, std::int32_t tries) {
  for (std::int32_t number = first; number < first + tries; ++number) {
    KeyHandle key;
    const std::string range_key = platform.codec.ToAnsi(RangeKeyOf(ranges_path, number));
    if (KeyHandle::OpenEx(platform.registry, reg::kCurrentUser, range_key, reg::kKeyRead, &key) ==
        reg::kFileNotFound)
      return number;
  }
  return std::nullopt;
}

// Writes the address under a new range key unless the family already holds it.
void AddRangeEntry(const Platform& platform, Module1& module1, AutoSetWindow& window, const RangeFamily& family,
                   const ZoneEntry& entry) {
  const std::int32_t before = family.counter;
  if ((window.*family.lookup)(reg::kCurrentUser, family.root)) return;
  // A lookup that saw all of its k keys leaves a free number among the k + 1 after the count;
  // when the registry says none is, nothing is written.
  const std::int32_t visited = family.counter - before;
  const std::optional<std::int32_t> number = FreeRangeNumber(platform, family.path, family.counter + 1, visited + 1);
  if (!number) return;
  family.counter = *number;
  WriteRangeEntry(module1, family.path, *number, entry);
}

// The Baidu entry, then the zone-map entry twice: the normal key and the escape key.
void WriteSetupSite(const Platform& platform, Module1& module1, AutoSetWindow& window, const std::wstring& setup_url,
                    const ZoneEntry& entry, const RangeFamily (&families)[2]) {
  RunGuarded([&] { WriteBaiduEntry(module1, HostOf(setup_url)); });
  if (entry.form != ZoneForm::kAddress) {
    RunGuarded([&] { WriteDomainEntry(module1, keys::kDomainsPath, entry); });
    RunGuarded([&] { WriteDomainEntry(module1, keys::kEscDomainsPath, entry); });
    return;
  }
  for (const RangeFamily& family : families)
    RunGuarded([&] { AddRangeEntry(platform, module1, window, family, entry); });
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
  PrepareBrowser(platform, window);
  // The zone map and the Baidu white-list stay: the site is added to them.
  RunGuarded([&] { DeleteSubkeyTree(platform.registry, reg::kCurrentUser, platform.codec.ToAnsi(keys::kAddOnSettings)); });
  DisableOtherAddOns(window);
  Module1 module1(platform);
  const ZoneEntry entry = ZoneEntryOf(setup_url);
  const RangeFamily families[] = {
      {keys::kRangesRoot, keys::kRangesPath, &AutoSetWindow::FindRangesKeys, range_count},
      {keys::kEscRangesRoot, keys::kEscRangesPath, &AutoSetWindow::FindEscRangesKeys, esc_range_count}};
  WriteSetupSite(platform, module1, window, setup_url, entry, families);
  // The entry is the zone name: no scheme, and no "www." for a www name.
  RunGuarded([&] { AppendToGoogleWhitelist(module1, entry.name); });
  UpdateFlashPlayerOf(platform, window);
}

}  // namespace kelpo
