#include "apply/interactive_apply.h"

#include "apply/apply_changes.h"
#include "apply/apply_journal.h"
#include "apply/apply_steps.h"
#include "apply/companion_files.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "zonemap/site_writer.h"

namespace kelpo {
namespace {

// The companion files, the user's consent and a site to apply: nothing is changed before all
// of them are there.
ApplyStop ReasonNotToApply(const Platform& platform, const std::vector<std::wstring>& sites) {
  if (!RequireCompanionFile(platform, companion::kRegistryScript) ||
      !RequireCompanionFile(platform, companion::kFlashInstaller))
    return ApplyStop::kCompanionFileMissing;
  if (platform.desktop.ShowMessage(std::wstring(kApplyQuestion), std::wstring(kApplyQuestionTitle),
                                   box::kIconInformation | box::kYesNo) == box::kAnswerNo)
    return ApplyStop::kDeclined;
  if (!sites.empty()) return ApplyStop::kNone;
  platform.desktop.ShowMessage(std::wstring(kEmptySiteListMessage), std::wstring(kSiteListTitle),
                               box::kIconInformation | box::kOk);
  return ApplyStop::kEmptySiteList;
}

// Every listed site, then the Google white-list of them all; each site on its own, so that one
// failing keeps none of the others out.
void WriteSites(const Platform& platform, const std::vector<std::wstring>& sites, StepRecorder& steps) {
  PolicyWriter writer(platform);
  RegistryReader reader(platform);
  SiteWriter site_writer(writer, reader);
  for (const std::wstring& site : sites) steps.Run(ApplyStep::kWriteSite, [&] { site_writer.WriteSite(site); }, site);
  steps.Run(ApplyStep::kWriteGoogleWhitelist, [&] { site_writer.WriteGoogleWhitelist(); });
}

}  // namespace

ApplyOutcome ApplyFromSiteList(const Platform& platform, const BrowserVersions& versions,
                               const std::vector<std::wstring>& sites, ApplyWindow& window) {
  ApplyOutcome outcome;
  outcome.stopped = ReasonNotToApply(platform, sites);
  if (!outcome.applied()) return outcome;
  ApplyJournal journal(platform, L"interactive apply");
  StepRecorder steps(outcome, journal.StepListener());
  steps.Run(ApplyStep::kLockNext, [&] { window.SetNextLocked(true); });
  outcome.backup = journal.BackUp(InteractiveApplyChanges(versions));
  CloseBrowserAndSetPopUps(platform, versions, steps);
  // Cleared before the import, so that what the registry script writes stays.
  DeleteOldEntries(platform, steps);
  ImportScriptAndSetTrustedZone(platform, versions, steps);
  DisableToolbarAddOnsStep(platform, steps);
  WriteSites(platform, sites, steps);
  UpdateFlashPlayer(platform, versions, steps);
  steps.Run(ApplyStep::kUnlockNext, [&] { window.SetNextLocked(false); });
  steps.Run(ApplyStep::kOpenCompletionWindow, [&] { window.OpenCompletionWindow(); });
  steps.Run(ApplyStep::kUnloadWindow, [&] { window.Unload(); });
  return outcome;
}

}  // namespace kelpo
