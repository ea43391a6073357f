#include "engine/apply_sequence.h"

#include <optional>

#include "app/companion_files.h"
#include "cache/module2.h"
#include "engine/browser_settings.h"
#include "engine/engine_keys.h"
#include "engine/guarded_step.h"
#include "engine/program_steps.h"
#include "engine/site_writer.h"
#include "registry/module1.h"

namespace kelpo {
namespace {

// The companion files, the user's consent and a site to apply: nothing is changed before all
// of them are there. The site list, read once here, is the one the apply writes: what is done
// to the window while the apply waits for other programs changes nothing.
std::optional<std::vector<std::wstring>> ReadyToApply(const Platform& platform, const TrustedSiteWindow& window) {
  if (!RequireCompanionFile(platform, kRegistryScriptName)) return std::nullopt;
  if (!RequireCompanionFile(platform, kFlashInstallerName)) return std::nullopt;
  if (platform.desktop.ShowMessage(kApplyQuestion, kApplyQuestionTitle, box::kIconInformation | box::kYesNo) ==
      box::kAnswerNo)
    return std::nullopt;
  std::vector<std::wstring> items = window.SiteItems();
  if (!items.empty()) return items;
  platform.desktop.ShowMessage(kEmptySiteListMessage, kSiteListTitle, box::kIconInformation | box::kOk);
  return std::nullopt;
}

// Every listed site, then the Google white-list of them all; each item on its own, so that one
// failing keeps none of the others out.
void WriteSites(const Platform& platform, const std::vector<std::wstring>& items) {
  Module1 module1(platform);
  SiteWriter writer(module1);
  for (const std::wstring& item : items) RunGuarded([&] { writer.WriteSite(item); });
  RunGuarded([&] { writer.WriteGoogleWhitelist(); });
}

}  // namespace

std::wstring IeVersionOf(const ApplyWindow& window) {
  std::wstring ie_version;
  RunGuarded([&] { ie_version = window.IeVersionText(); });
  return ie_version;
}

void CloseBrowserAndSetPopUps(const Platform& platform, const std::wstring& ie_version) {
  Module1 module1(platform);
  Module2 module2(platform);
  RunGuarded([&] { CloseBrowser(platform.processes); });
  if (IsIeVersion(ie_version, L'6')) RunGuarded([&] { ClearUrlCache(module2); });
  RunGuarded([&] { SetPopupBlocker(module1); });
  RunGuarded([&] { SetTabPopupBehaviour(module1); });
}

void ImportScriptAndSetTrustedZone(const Platform& platform, const std::wstring& ie_version) {
  Module1 module1(platform);
  // The script's writes land before the zone flags, never after them.
  RunGuarded([&] {
    ImportRegistryScriptAndWait(platform.shell, platform.processes, platform.files.ProgramFolder());
  });
  RunGuarded([&] { SetTrustedZoneFlags(module1); });
  RunGuarded([&] { SetIe8ZoneActions(module1, ie_version); });
}

void DisableOtherAddOns(ApplyWindow& window) {
  RunGuarded([&] { window.FindStatsKeys(reg::kCurrentUser, keys::kAddOnStats); });
}

void UpdateFlashPlayerOf(const Platform& platform, const ApplyWindow& window) {
  RunGuarded([&] {
    UpdateFlashPlayer(platform.processes, platform.files.ProgramFolder(), window.FlashVersionText());
  });
}

void ApplyFromSiteList(const Platform& platform, TrustedSiteWindow& window) {
  const std::optional<std::vector<std::wstring>> items = ReadyToApply(platform, window);
  if (!items) return;
  RunGuarded([&] { window.SetOkEnabled(false); });
  const std::wstring ie_version = IeVersionOf(window);
  CloseBrowserAndSetPopUps(platform, ie_version);
  // Cleared before the import, so that what the registry script writes stays.
  DeleteOldEntries(platform.registry, platform.codec);
  ImportScriptAndSetTrustedZone(platform, ie_version);
  DisableOtherAddOns(window);
  WriteSites(platform, *items);
  UpdateFlashPlayerOf(platform, window);
  RunGuarded([&] { window.SetOkEnabled(true); });
  RunGuarded([&] { window.ShowCompletionReport(); });
  RunGuarded([&] { window.UnloadWindow(); });
}

}  // namespace kelpo
