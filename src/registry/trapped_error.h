#pragma once
// The one place a run-time error is shown: the registry reader's and the policy writer's trap.
#include <string_view>

#include "platform/desktop.h"

namespace kelpo {

inline constexpr std::wstring_view kTrappedErrorTitle = L"GenUtils/GetRegEntry";

// Shows the error being handled: a critical-stop box titled "GenUtils/GetRegEntry" with its
// number, ">  " and its description. Call only from inside a catch block.
void ShowTrappedError(Desktop& desktop);

}  // namespace kelpo
