#include "engine/browser_settings.h"

#include "engine/engine_keys.h"
#include "engine/text_rules.h"

namespace kelpo {

bool IsIeVersion(const std::wstring& version_text, wchar_t major) {
  const std::wstring trimmed = TrimBlanks(version_text);
  return !trimmed.empty() && trimmed.front() == major;
}

void SetPopupBlocker(Module1& module1) {
  module1.SetRegEntry(keys::kCurrentUser, keys::kNewWindows, L"PopupMgr");
}

void SetTabPopupBehaviour(Module1& module1) {
  module1.SetRegEntry(keys::kCurrentUser, keys::kTabbedBrowsing, L"PopupsUseNewWindow");
}

void SetTrustedZoneFlags(Module1& module1) {
  module1.SetRegEntry(keys::kCurrentUser, keys::kTrustedZone, L"Flags");
}

void SetIe8ZoneActions(Module1& module1, const std::wstring& ie_version) {
  if (!IsIeVersion(ie_version, L'8')) return;
  module1.SetRegEntry(keys::kCurrentUser, keys::kTrustedZone, L"120B");
  module1.SetRegEntry(keys::kCurrentUser, keys::kTrustedZone, L"1409");
}

}  // namespace kelpo
