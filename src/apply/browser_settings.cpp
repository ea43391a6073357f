#include "apply/browser_settings.h"

#include "registry/key_paths.h"

namespace kelpo {

void SetPopupBlocker(PolicyWriter& writer) { writer.WriteOption(keys::kNewWindows, keys::kPopupMgr); }

void SetTabPopupBehaviour(PolicyWriter& writer) { writer.WriteOption(keys::kTabbedBrowsing, keys::kPopupsUseNewWindow); }

void SetTrustedZoneFlags(PolicyWriter& writer) { writer.WriteOption(keys::kTrustedZone, keys::kZoneFlags); }

void SetIe8ZoneActions(PolicyWriter& writer) {
  writer.WriteOption(keys::kTrustedZone, L"120B");
  writer.WriteOption(keys::kTrustedZone, L"1409");
}

}  // namespace kelpo
