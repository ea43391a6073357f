#include "apply/automatic_apply.h"

#include <string_view>

#include "apply/apply_changes.h"
#include "apply/apply_journal.h"
#include "apply/apply_steps.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "text/strings.h"
#include "zonemap/site_writer.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo {
namespace {

// One family of range keys: the key it lives below, its step and the count it keeps.
struct RangeFamily {
  std::wstring_view key;
  ApplyStep step;
  std::int32_t& count;
};

class SetupSiteWriter {
 public:
  SetupSiteWriter(const Platform& platform, const std::wstring& setup_address)
      : platform_(platform), writer_(platform), reader_(platform), setup_address_(setup_address),
        entry_(ZoneEntryOf(setup_address)) {}

  // The Baidu entry, then the zone-map entry twice: the normal key and the escape key.
  void WriteEntries(StepRecorder& steps, AutomaticApplyOutcome& outcome) {
    steps.Run(ApplyStep::kWriteBaiduEntry, [&] { WriteBaiduEntry(writer_, HostOf(setup_address_)); });
    if (entry_.form != ZoneForm::kAddress) {
      steps.Run(ApplyStep::kWriteDomainEntry, [&] { WriteDomainEntry(writer_, keys::kDomains, entry_); });
      steps.Run(ApplyStep::kWriteEscapeDomainEntry, [&] { WriteDomainEntry(writer_, keys::kEscDomains, entry_); });
      return;
    }
    for (const RangeFamily& family : {RangeFamily{keys::kRanges, ApplyStep::kWriteRangeEntry, outcome.range_count},
                                      RangeFamily{keys::kEscRanges, ApplyStep::kWriteEscapeRangeEntry,
                                                  outcome.escape_range_count}})
      steps.Run(family.step, [&] { AddRangeEntry(family); });
  }

  // The entry is the zone name: no scheme, and no "www." for a www name.
  void AppendToGoogleWhitelist() {
    const std::wstring current = reader_.ReadText(reg::kCurrentUser, keys::kGoogleOptions, keys::kGoogleWhitelistValue);
    if (const std::optional<std::wstring> extended = ExtendGoogleWhitelist(current, entry_.name))
      writer_.WriteGoogleWhitelist(*extended);
  }

 private:
  // Writes the address under a new range key unless the family already holds it.
  void AddRangeEntry(const RangeFamily& family) {
    const RangeSearch search = ZoneMapReader(platform_).FindRange(family.key, setup_address_);
    family.count += search.keys_visited;
    if (search.found) return;
    // A search that saw all of its k keys leaves a free number among the k + 1 after the
    // count; when the registry says none is, nothing is written.
    const std::optional<int> number =
        FirstMissingRange(reader_, family.key, family.count + 1, family.count + search.keys_visited + 1);
    if (!number) return;
    family.count = *number;
    WriteRangeEntry(writer_, family.key, *number, entry_);
  }

  const Platform& platform_;
  PolicyWriter writer_;
  RegistryReader reader_;
  const std::wstring& setup_address_;
  const ZoneEntry entry_;
};

}  // namespace

std::optional<std::wstring> ExtendGoogleWhitelist(const std::wstring& current, const std::wstring& entry) {
  if (current.find(entry) != std::wstring::npos) return std::nullopt;
  const std::wstring extended = current.empty() ? L"|" + TrimBlanks(entry) + L"|" : current + TrimBlanks(entry) + L"|";
  return TrimBlanks(extended);
}

AutomaticApplyOutcome ApplyAutomatically(const Platform& platform, const BrowserVersions& versions,
                                         const std::wstring& setup_address) {
  AutomaticApplyOutcome outcome;
  ApplyJournal journal(platform, L"automatic apply");
  StepRecorder steps(outcome, journal.StepListener());
  outcome.backup = journal.BackUp(AutomaticApplyChanges(versions, setup_address));
  CloseBrowserAndSetPopUps(platform, versions, steps);
  // The zone map and the Baidu white-list stay: the site is added to them. The add-on settings
  // go before the import, so that those the registry script writes stay.
  DeleteAddOnSettings(platform, steps);
  ImportScriptAndSetTrustedZone(platform, versions, steps);
  DisableToolbarAddOnsStep(platform, steps);
  SetupSiteWriter site(platform, setup_address);
  site.WriteEntries(steps, outcome);
  steps.Run(ApplyStep::kAppendToGoogleWhitelist, [&] { site.AppendToGoogleWhitelist(); });
  UpdateFlashPlayer(platform, versions, steps);
  return outcome;
}

}  // namespace kelpo
