#include "text/versions.h"

#include <algorithm>

#include "text/numbers.h"
#include "text/strings.h"

namespace kelpo {

bool IsIeVersion(std::wstring_view version_text, wchar_t major) {
  const std::wstring_view trimmed = TrimStart(version_text);
  return !trimmed.empty() && trimmed.front() == major;
}

std::wstring DotsForCommas(std::wstring version) {
  std::replace(version.begin(), version.end(), L',', L'.');
  return version;
}

bool FlashPlayerNeedsUpdate(std::wstring_view flash_version) {
  const std::wstring_view version = Trim(flash_version);
  if (version.empty()) return true;
  const std::optional<DecimalNumber> major = ReadWholeNumber(version.substr(0, version.find(L'.')));
  // Zero, a negative number and a single digit are all below ten.
  return !major || major->whole_digits.size() <= 1 || major->negative;
}

FlashState ClassifyFlash(std::wstring_view flash_version) {
  if (Trim(flash_version).empty()) return FlashState::kMissing;
  return FlashPlayerNeedsUpdate(flash_version) ? FlashState::kTooOld : FlashState::kCurrent;
}

}  // namespace kelpo
