#pragma once
// What an apply did: whether it ran, and each of its steps in order with its result. Every step
// is guarded: one that fails or raises a run-time error never keeps the next from running.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "backup/backup_store.h"
#include "platform/runtime_error.h"

namespace kelpo {

enum class ApplyStep {
  kLockNext,
  kCloseBrowser,
  kClearUrlCache,
  kDisablePopupBlocker,
  kSetTabPopups,
  kClearTrustedRanges,
  kDeleteBaiduWhitelist,
  kClearTrustedDomains,
  kDeleteAddOnSettings,
  kImportRegistryScript,
  kSetTrustedZoneFlags,
  kSetIe8ZoneActions,
  kDisableToolbarAddOns,
  kWriteSite,              // the interactive apply: one listed site (the subject)
  kWriteGoogleWhitelist,
  kWriteBaiduEntry,        // the automatic apply: the set-up site's entries, each on its own
  kWriteDomainEntry,
  kWriteEscapeDomainEntry,
  kWriteRangeEntry,
  kWriteEscapeRangeEntry,
  kAppendToGoogleWhitelist,
  kUpdateFlashPlayer,
  kUnlockNext,
  kOpenCompletionWindow,
  kUnloadWindow,
};

// What the step is, in a few words ("close the browser").
std::wstring_view StepName(ApplyStep step);

enum class StepResult {
  kDone,
  kNotNeeded,  // the versions called for nothing (the cache on IE 7 and later, a current Flash Player)
  kFailed,     // a program that could not start, a key that could not be deleted, a run-time error
};

// "done", "not needed", "failed".
std::wstring_view ResultName(StepResult result);

struct StepOutcome {
  ApplyStep step;
  StepResult result = StepResult::kDone;
  std::wstring subject;  // what the step worked on, where there is one: a site, a range key
  std::wstring error;    // a run-time error that ended the step: its number and description

  friend bool operator==(const StepOutcome&, const StepOutcome&) = default;
};

// Why an interactive apply changed nothing.
enum class ApplyStop {
  kNone,                   // it ran
  kCompanionFileMissing,
  kDeclined,               // the user answered No
  kEmptySiteList,
};

struct ApplyOutcome {
  ApplyStop stopped = ApplyStop::kNone;
  std::vector<StepOutcome> steps;
  // The backup taken before the first change, or why there is none. Not a step: whatever
  // became of it, the apply ran the same.
  SavedBackup backup;

  bool applied() const { return stopped == ApplyStop::kNone; }
  // The outcome of the first step of that kind; null when there was none.
  const StepOutcome* Find(ApplyStep step) const;
  int CountOf(StepResult result) const;
};

// Runs the steps of one apply and notes each outcome into it, handing each to `on_noted` (the
// log) as soon as it is noted.
class StepRecorder {
 public:
  using Listener = std::function<void(const StepOutcome&)>;

  explicit StepRecorder(ApplyOutcome& outcome, Listener on_noted = {})
      : outcome_(outcome), on_noted_(std::move(on_noted)) {}

  // Runs the step. Its result is what it returns (a StepResult; a bool: done or failed; nothing:
  // done); a run-time error it raises makes it failed. True when it was done.
  template <typename Body>
  bool Run(ApplyStep step, Body&& body, std::wstring subject = {}) {
    StepOutcome noted{step, StepResult::kDone, std::move(subject), {}};
    try {
      using Result = std::invoke_result_t<Body>;
      if constexpr (std::is_same_v<Result, StepResult>) {
        noted.result = body();
      } else if constexpr (std::is_same_v<Result, bool>) {
        if (!body()) noted.result = StepResult::kFailed;
      } else {
        body();
      }
    } catch (...) {
      noted.result = StepResult::kFailed;
      noted.error = DescribeCurrentException();
    }
    const bool done = noted.result == StepResult::kDone;
    Note(std::move(noted));
    return done;
  }
  // A step the versions call for nothing.
  void NotNeeded(ApplyStep step) { Note({step, StepResult::kNotNeeded, {}, {}}); }

 private:
  void Note(StepOutcome noted) {
    outcome_.steps.push_back(std::move(noted));
    if (on_noted_) on_noted_(outcome_.steps.back());
  }

  ApplyOutcome& outcome_;
  Listener on_noted_;
};

}  // namespace kelpo
