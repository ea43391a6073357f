#pragma once
// The system check and the completion report: the browser configuration read from the
// registry and judged line by line. Both only read.
#include <string>

#include "platform/platform.h"
#include "reports/report.h"
#include "text/versions.h"

namespace kelpo {

// Before applying: pop-up blocker, server verification, security level, tab pop-ups (unless
// Internet Explorer 6), Flash Player, then a warning per other toolbar installed. A setting
// not as the configuration wants it is a warning.
Report SystemCheckReport(const Platform& platform, const BrowserVersions& versions);

// After applying: the same checks, where a setting that differs is a failure and the tab step
// ends in one separator whatever it wrote; then whether each other toolbar is disabled.
Report CompletionReport(const Platform& platform, const BrowserVersions& versions);

// "总计：" and the sum, then each count after the place of its sign: "   成功： 6" and so on.
std::wstring CompletionTotals(const Report& report);

}  // namespace kelpo
