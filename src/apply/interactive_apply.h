#pragma once
// The apply the trusted-sites window's Next button runs: the whole configuration for the
// listed sites, replacing the Trusted sites entries, the Baidu white-list and the add-on
// settings. It is given what it needs as values and changes the window only through the three
// moves of ApplyWindow; it never reads the window.
#include <string>
#include <string_view>
#include <vector>

#include "apply/apply_outcome.h"
#include "platform/platform.h"
#include "text/versions.h"

namespace kelpo {

inline constexpr std::wstring_view kApplyQuestion = L"确定要修改IE的属性吗？";
inline constexpr std::wstring_view kApplyQuestionTitle = L"Internet 选项";
inline constexpr std::wstring_view kEmptySiteListMessage = L"请先网站添加到可信站点。";
inline constexpr std::wstring_view kSiteListTitle = L"可信站点";

// What the apply does to the window it runs for.
class ApplyWindow {
 public:
  ApplyWindow() = default;
  ApplyWindow(const ApplyWindow&) = delete;
  ApplyWindow& operator=(const ApplyWindow&) = delete;
  virtual ~ApplyWindow() = default;

  // Locks the Next button while the apply runs, and unlocks it at the end.
  virtual void SetNextLocked(bool locked) = 0;
  // Opens the completion window, an ordinary non-modal window that builds its report as it
  // loads.
  virtual void OpenCompletionWindow() = 0;
  // Unloads the trusted-sites window.
  virtual void Unload() = 0;
};

// Stops, having changed nothing, when a companion file is missing (its message), when the user
// answers No to the question, or when `sites` is empty (its message, after the question).
// Otherwise locks Next, backs up what it is about to change, applies everything for `sites` (the
// list as it stood when Next was pressed), unlocks Next, opens the completion window and unloads
// the window; these last three happen whatever failed before them. Each step is logged as it is
// taken (see ApplyJournal). `versions` are the ones the window read when it loaded.
ApplyOutcome ApplyFromSiteList(const Platform& platform, const BrowserVersions& versions,
                               const std::vector<std::wstring>& sites, ApplyWindow& window);

}  // namespace kelpo
