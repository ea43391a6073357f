#pragma once
// The system check: reads the browser configuration and appends one line per check to the
// check window's list. It only reads.
#include "app/controls.h"
#include "platform/platform.h"

namespace kelpo {

// Internet Explorer version into ie_version; pop-up blocker, server verification, security
// level, tab pop-ups (unless Internet Explorer 6) and Flash Player lines into list; the Flash
// Player version into flash_version. The add-on lines are the caller's last step.
void WriteSystemCheck(const Platform& platform, Label& ie_version, Label& flash_version, ListBox& list);

// The same checks after applying: a setting that differs is a failure, the tab step ends in one
// separator whatever it wrote, and every line is counted. The add-on lines are the caller's.
void WriteCompletionChecks(const Platform& platform, Label& ie_version, Label& flash_version, ListBox& list,
                           int& success_count, int& failure_count, int& warning_count);

// "总计：" and the sum, then each count after the place of its sign: "   成功： 6" and so on.
std::wstring CompletionTotals(int success_count, int failure_count, int warning_count);

}  // namespace kelpo
