#include "apply/apply_journal.h"

#include <string>
#include <vector>

#include "apply/companion_files.h"
#include "backup/apply_backup.h"
#include "reports/check_report.h"

namespace kelpo {

ApplyJournal::ApplyJournal(const Platform& platform, std::wstring_view apply)
    : platform_(platform), log_(platform.file_system, platform.clock) {
  log_.RecordApplyStart(apply, platform.program_version);
}

SavedBackup ApplyJournal::BackUp(const ApplyChanges& changes) {
  std::vector<std::wstring> notes;
  std::wstring script;
  try {
    script = CompanionPath(platform_.files, companion::kRegistryScript);
  } catch (...) {
    // The rest is still worth keeping.
    notes.push_back(L"the program folder is unknown (" + DescribeCurrentException() +
                    L"): what the registry script writes is not backed up");
  }
  const BackupPorts ports{platform_.raw_registry, platform_.file_system, platform_.clock, platform_.codec};
  BackupOutcome backup = BackUpBeforeApply(ports, changes, script);
  notes.insert(notes.end(), backup.notes.begin(), backup.notes.end());
  log_.RecordBackup(backup.saved, notes);
  return backup.saved;
}

void ApplyJournal::RecordStep(const StepOutcome& step) {
  std::wstring what(StepName(step.step));
  if (!step.subject.empty()) what += L" \"" + step.subject + L"\"";
  std::wstring result(ResultName(step.result));
  if (!step.error.empty()) result += L" (" + step.error + L")";
  log_.RecordStep(what, result);
}

Report ReportCompletion(const Platform& platform, const BrowserVersions& versions) {
  Report report = CompletionReport(platform, versions);
  ApplyLog(platform.file_system, platform.clock).RecordTotals(report.successes, report.failures, report.warnings);
  return report;
}

}  // namespace kelpo
