#include "apply/apply_steps.h"

#include "apply/browser_settings.h"
#include "apply/program_steps.h"
#include "cache/url_cache_cleaner.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_key.h"
#include "reports/add_on_inspection.h"
#include "zonemap/trusted_entries.h"

namespace kelpo {

void CloseBrowserAndSetPopUps(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps) {
  PolicyWriter writer(platform);
  steps.Run(ApplyStep::kCloseBrowser, [&] { return CloseBrowser(platform.processes); });
  if (IsIeVersion(versions.internet_explorer, L'6'))
    steps.Run(ApplyStep::kClearUrlCache, [&] { return UrlCacheCleaner(platform).Clear(); });
  else
    steps.NotNeeded(ApplyStep::kClearUrlCache);
  steps.Run(ApplyStep::kDisablePopupBlocker, [&] { SetPopupBlocker(writer); });
  steps.Run(ApplyStep::kSetTabPopups, [&] { SetTabPopupBehaviour(writer); });
}

void ImportScriptAndSetTrustedZone(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps) {
  PolicyWriter writer(platform);
  // The script's writes land before the zone flags, never after them.
  steps.Run(ApplyStep::kImportRegistryScript, [&] {
    return ImportRegistryScriptAndWait(platform.shell, platform.processes, platform.files.ProgramFolder());
  });
  steps.Run(ApplyStep::kSetTrustedZoneFlags, [&] { SetTrustedZoneFlags(writer); });
  if (IsIeVersion(versions.internet_explorer, L'8'))
    steps.Run(ApplyStep::kSetIe8ZoneActions, [&] { SetIe8ZoneActions(writer); });
  else
    steps.NotNeeded(ApplyStep::kSetIe8ZoneActions);
}

void DeleteOldEntries(const Platform& platform, StepRecorder& steps) {
  Registry& registry = platform.registry;
  const TextCodec& codec = platform.codec;
  steps.Run(ApplyStep::kClearTrustedRanges, [&] { return NothingLeft(ClearTrustedRanges(registry, codec)); });
  steps.Run(ApplyStep::kDeleteBaiduWhitelist, [&] {
    return NothingLeft(DeleteRegistryTree(registry, reg::kCurrentUser, codec.ToAnsi(keys::kBaiduWhiteList)));
  });
  steps.Run(ApplyStep::kClearTrustedDomains, [&] { return NothingLeft(ClearTrustedDomains(registry, codec)); });
  DeleteAddOnSettings(platform, steps);
}

void DeleteAddOnSettings(const Platform& platform, StepRecorder& steps) {
  steps.Run(ApplyStep::kDeleteAddOnSettings, [&] {
    return NothingLeft(
        DeleteRegistryTree(platform.registry, reg::kCurrentUser, platform.codec.ToAnsi(keys::kAddOnSettings)));
  });
}

void DisableToolbarAddOnsStep(const Platform& platform, StepRecorder& steps) {
  steps.Run(ApplyStep::kDisableToolbarAddOns, [&] { DisableToolbarAddOns(platform); });
}

void UpdateFlashPlayer(const Platform& platform, const BrowserVersions& versions, StepRecorder& steps) {
  if (!FlashPlayerNeedsUpdate(versions.flash_player)) {
    steps.NotNeeded(ApplyStep::kUpdateFlashPlayer);
    return;
  }
  steps.Run(ApplyStep::kUpdateFlashPlayer, [&] {
    return StartAndWait(platform.processes, FlashInstallerCommand(platform.files.ProgramFolder()));
  });
}

}  // namespace kelpo
