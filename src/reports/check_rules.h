#pragma once
// The rules by which the reports judge what the registry holds: the numeric test and the three
// Flash Player states; and the two version texts as the windows hold them. The browser version
// test is IsIeVersion (engine/browser_settings.h).
#include <cstdint>
#include <string>

#include "registry/module1.h"

namespace kelpo {

// True when the text, read as a decimal number (blanks around, an optional sign, digits, an
// optional fraction), equals n. An empty text or one that is not a number matches nothing.
bool EqualsNumber(const std::wstring& text, std::uint32_t n);

enum class FlashState { kMissing, kTooOld, kCurrent };
// The Flash Player version caption (dots as separators): blank is missing; one that needs the
// update (FlashPlayerNeedsUpdate: a major part below 10 or not a number) is too old.
FlashState ClassifyFlash(const std::wstring& caption);

// Every "," replaced by ".".
std::wstring DotsForCommas(std::wstring version);

// The Internet Explorer version, as read with ReadRegValue; empty when unreadable.
std::wstring ReadIeVersion(Module1& module1);
// The Flash Player version read with ReadRegValue, with dots: the reports' lblTemp.
std::wstring ReadFlashVersion(Module1& module1);
// The Flash Player version read raw with GetRegEntry, cut at its first zero character, with
// dots: the lblTemp of the start-up and trusted-site windows.
std::wstring ReadFlashVersionRaw(Module1& module1);

}  // namespace kelpo
