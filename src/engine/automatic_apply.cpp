#include "engine/automatic_apply.h"

#include <algorithm>

#include "engine/engine_keys.h"
#include "engine/guarded_step.h"
#include "engine/site_writer.h"
#include "engine/text_rules.h"
#include "registry/key_handle.h"
#include "registry/module1.h"
#include "sites/zone_map.h"

namespace kelpo {
namespace {

// A family of range keys: the key the lookup walks, and the prefix new keys are named below.
struct RangeKeys {
  const wchar_t* root;
  const wchar_t* path;
};
constexpr RangeKeys kRanges{keys::kRangesRoot, keys::kRangesPath};
constexpr RangeKeys kEscRanges{keys::kEscRangesRoot, keys::kEscRangesPath};

// The first range number from `from` up whose key is missing. A key that cannot be looked at
// counts as taken, so no address is ever written over another. Past the last number: that.
int FirstFreeRangeNumber(const Platform& platform, const std::wstring& ranges_path, int from) {
  int number = from;
  for (; number <= kLastRangeNumber; ++number) {
    KeyHandle key;
    const std::string range_key = platform.codec.ToAnsi(RangeKeyOf(ranges_path, number));
    if (KeyHandle::OpenEx(platform.registry, reg::kCurrentUser, range_key, reg::kKeyRead, &key) ==
        reg::kFileNotFound)
      break;
  }
  return number;
}

// The 16-bit counter stops at its top; a number past it is refused when written.
std::int16_t AsRangeCount(std::int32_t number) {
  return static_cast<std::int16_t>(std::min<std::int32_t>(number, kLastRangeNumber));
}

// Writes the address under a new range key unless one of the family already holds it.
void AddRangeEntry(const Platform& platform, Module1& module1, const RangeKeys& family,
                   const std::wstring& setup_url, const ZoneEntry& entry, std::int16_t& counter) {
  ZoneMapReader reader(platform.registry, platform.codec, module1);
  std::int32_t visited = counter;
  const bool found = reader.FindRangeItem(reg::kCurrentUser, family.root, family.path, setup_url, visited);
  counter = AsRangeCount(visited);
  if (found) return;
  const int number = FirstFreeRangeNumber(platform, family.path, visited + 1);
  counter = AsRangeCount(number);
  WriteRangeEntry(module1, family.path, number, entry);
}

struct RangeCounters {
  std::int16_t& range_count;
  std::int16_t& esc_range_count;
};

// The Baidu entry, then the zone-map entry twice: the normal key and the escape key.
void WriteSetupSite(const Platform& platform, Module1& module1, const std::wstring& setup_url,
                    const ZoneEntry& entry, RangeCounters counters) {
  RunGuarded([&] { WriteBaiduEntry(module1, HostOf(setup_url)); });
  if (entry.form != ZoneForm::kAddress) {
    RunGuarded([&] { WriteDomainEntry(module1, keys::kDomainsPath, entry); });
    RunGuarded([&] { WriteDomainEntry(module1, keys::kEscDomainsPath, entry); });
    return;
  }
  RunGuarded([&] { AddRangeEntry(platform, module1, kRanges, setup_url, entry, counters.range_count); });
  RunGuarded([&] { AddRangeEntry(platform, module1, kEscRanges, setup_url, entry, counters.esc_range_count); });
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

void ApplyAutomatically(const Platform& platform, ApplyWindow& window, const std::wstring& setup_url,
                        std::int16_t& range_count, std::int16_t& esc_range_count) {
  PrepareBrowser(platform, window);
  // The zone map and the Baidu white-list stay: the site is added to them.
  RunGuarded([&] { DeleteSubkeyTree(platform.registry, reg::kCurrentUser, platform.codec.ToAnsi(keys::kAddOnSettings)); });
  DisableOtherAddOns(window);
  Module1 module1(platform);
  const ZoneEntry entry = ZoneEntryOf(setup_url);
  WriteSetupSite(platform, module1, setup_url, entry, {range_count, esc_range_count});
  // The entry is the zone name: no scheme, and no "www." for a www name.
  RunGuarded([&] { AppendToGoogleWhitelist(module1, entry.name); });
  UpdateFlashPlayerOf(platform, window);
}

}  // namespace kelpo
