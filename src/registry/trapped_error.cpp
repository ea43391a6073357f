#include "registry/trapped_error.h"

#include <string>

#include "platform/runtime_error.h"

namespace kelpo {

void ShowTrappedError(Desktop& desktop) {
  desktop.ShowMessage(DescribeCurrentException(), std::wstring(kTrappedErrorTitle), box::kIconStop | box::kOk);
}

}  // namespace kelpo
