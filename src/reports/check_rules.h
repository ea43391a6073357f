#pragma once
// The rules by which the reports (and the engine) judge what the registry holds: the numeric
// test, the one-character browser version test and the Flash Player version rule; and the two
// version texts as the windows hold them.
#include <cstdint>
#include <string>

#include "registry/module1.h"

namespace kelpo {

// True when the text, read as a decimal number (blanks around, an optional sign, digits, an
// optional fraction), equals n. An empty text or one that is not a number matches nothing.
bool EqualsNumber(const std::wstring& text, std::int64_t n);

// The first character of the version after trimming blanks is `digit` ("6" for Internet
// Explorer 6, "8" for 8). An empty version begins with nothing.
bool VersionBeginsWith(const std::wstring& version, wchar_t digit);

enum class FlashState { kMissing, kTooOld, kCurrent };
// The Flash Player version caption (dots as separators), trimmed: empty is missing; otherwise
// the major part, the text before the first "." (the whole text when there is none), below
// 10 or not a number is too old, anything else current.
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
