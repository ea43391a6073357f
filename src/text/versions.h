#pragma once
// The two version texts the program goes by, and its rules on them.
#include <string>
#include <string_view>

namespace kelpo {

// The versions as read once from the registry and handed on as values.
struct BrowserVersions {
  std::wstring internet_explorer;  // the "Version" text; only its first character is ever tested
  std::wstring flash_player;       // with "." for every ","; empty when none is known

  friend bool operator==(const BrowserVersions&, const BrowserVersions&) = default;
};

// True when the version text, without its leading spaces, begins with `major` ('6', '8').
bool IsIeVersion(std::wstring_view version_text, wchar_t major);

// Every "," replaced by ".": the Flash Player version as the windows show it.
std::wstring DotsForCommas(std::wstring version);

// True when no version is known or its major part (before the first ".", or the whole text) is
// below 10; a major part that is not a whole number counts as below 10.
bool FlashPlayerNeedsUpdate(std::wstring_view flash_version);

enum class FlashState { kMissing, kTooOld, kCurrent };
// Blank is missing; one that needs the update is too old.
FlashState ClassifyFlash(std::wstring_view flash_version);

}  // namespace kelpo
