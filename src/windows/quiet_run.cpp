#include "windows/quiet_run.h"

#include "apply/apply_journal.h"
#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "windows/start_up.h"

namespace kelpo {
namespace {

ExitStatus ApplyAndJudge(const Platform& platform, const QuietDesktop& desktop) {
  const std::optional<StartUpFindings> start_up = ReadStartUp(platform);
  if (!start_up || start_up->setup_address.empty()) return ExitStatus::kNotConfigured;
  const AutomaticApplyOutcome outcome = ApplySetupSite(platform, *start_up);
  // Read afresh and logged with its totals, as the completion window does after the apply.
  RegistryReader reader(platform);
  const Report report = ReportCompletion(platform, ReadVersions(reader));
  // A step's failure counts even where the report does not look (the site's own entries), and
  // so does an error a registry procedure trapped and would have shown.
  const bool all_well = outcome.CountOf(StepResult::kFailed) == 0 && report.failures == 0 && report.warnings == 0 &&
                        desktop.held_back().empty();
  return all_well ? ExitStatus::kSucceeded : ExitStatus::kFailedOrWarned;
}

}  // namespace

int QuietDesktop::ShowMessage(const std::wstring& text, const std::wstring& title, unsigned) {
  held_back_.push_back({text, title});
  return 0;
}

ExitStatus RunQuietly(const Platform& platform, const QuietDesktop& desktop) {
  try {
    return ApplyAndJudge(platform, desktop);
  } catch (...) {
    // Nobody is there to see an error box: an error nothing trapped is a failure like any other.
    return ExitStatus::kFailedOrWarned;
  }
}

}  // namespace kelpo
