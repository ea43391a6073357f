#pragma once
// What an apply leaves behind for whoever has to look into it or undo it: the log's entries
// (the start with the program's version, the backup's path, each step and its result, the
// completion report's totals) and the backup taken before the first change. Both applies keep
// their journal themselves, so every caller, with windows or without, gets both. Nothing here
// ever stops or alters an apply: a backup that cannot be made is logged, an entry that cannot be
// written is lost.
#include <string_view>

#include "apply/apply_outcome.h"
#include "backup/apply_log.h"
#include "backup/backup_builder.h"
#include "platform/platform.h"
#include "reports/report.h"
#include "text/versions.h"

namespace kelpo {

class ApplyJournal {
 public:
  // Logs the start of the apply (`apply` names it: "interactive apply") and the program's
  // version.
  ApplyJournal(const Platform& platform, std::wstring_view apply);

  // Backs up what the apply is about to change and every key the registry script names, and
  // logs where the backup went (or why there is none) and what it cannot put back exactly.
  SavedBackup BackUp(const ApplyChanges& changes);
  // Logs a step with its subject and its result, and the error that ended it.
  void RecordStep(const StepOutcome& step);
  // RecordStep, for the step recorder to call as each step is noted.
  StepRecorder::Listener StepListener() {
    return [this](const StepOutcome& step) { RecordStep(step); };
  }

 private:
  const Platform& platform_;
  ApplyLog log_;
};

// The completion report after an apply, as the completion window shows it, with its totals
// logged: the one way it is built, for the window and for a run without windows alike.
Report ReportCompletion(const Platform& platform, const BrowserVersions& versions);

}  // namespace kelpo
