#include "engine/apply_sequence.h"

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
// of them are there.
bool ReadyToApply(const Platform& platform, const TrustedSiteWindow& window) {
  if (!RequireCompanionFile(platform, kRegistryScriptName)) return false;
  if (!RequireCompanionFile(platform, kFlashInstallerName)) return false;
  if (platform.desktop.ShowMessage(kApplyQuestion, kApplyQuestionTitle, box::kIconInformation | box::kYesNo) ==
      box::kAnswerNo)
    return false;
  if (!window.SiteItems().empty()) return true;
  platform.desktop.ShowMessage(kEmptySiteListMessage, kSiteListTitle, box::kIconInformation | box::kOk);
  return false;
}

// Every listed site, then the Google white-list of them all; each item on its own, so that one
// failing keeps none of the others out.
void WriteSites(const Platform& platform, const TrustedSiteWindow& window) {
  Module1 module1(platform);
  SiteWriter writer(module1);
  std::vector<std::wstring> items;
  RunGuarded([&] { items = window.SiteItems(); });
  for (const std::wstring& item : items) RunGuarded([&] { writer.WriteSite(item); });
  RunGuarded([&] { writer.WriteGoogleWhitelist(); });
}

}  // namespace

void PrepareBrowser(const Platform& platform, const ApplyWindow& window) {
  Module1 module1(platform);
  Module2 module2(platform);
  std::wstring ie_version;
  RunGuarded([&] { ie_version = window.IeVersionText(); });
  RunGuarded([&] { CloseBrowser(platform.processes); });
  if (IsIeVersion(ie_version, L'6')) RunGuarded([&] { ClearUrlCache(module2); });
  RunGuarded([&] { SetPopupBlocker(module1); });
  RunGuarded([&] { SetTabPopupBehaviour(module1); });
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
  if (!ReadyToApply(platform, window)) return;
  RunGuarded([&] { window.SetOkEnabled(false); });
  PrepareBrowser(platform, window);
  DeleteOldEntries(platform.registry, platform.codec);
  DisableOtherAddOns(window);
  WriteSites(platform, window);
  UpdateFlashPlayerOf(platform, window);
  RunGuarded([&] { window.SetOkEnabled(true); });
  RunGuarded([&] { window.ShowCompletionReport(); });
  RunGuarded([&] { window.UnloadWindow(); });
}

}  // namespace kelpo
