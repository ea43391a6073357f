#pragma once
// The text operations the site rules are stated in: exact, case-sensitive comparisons; blanks
// are spaces only.
#include <string>
#include <string_view>

namespace kelpo {

// Without leading and trailing blanks.
std::wstring TrimBlanks(std::wstring_view text);
// Every occurrence of `from` replaced, left to right, the replacements not searched again.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);
inline bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
// Decimal digits with an optional sign, blanks around allowed; nothing else.
bool IsWholeNumber(std::wstring_view text);

}  // namespace kelpo
