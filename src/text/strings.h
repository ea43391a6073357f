#pragma once
// The text operations the program's rules are stated in: exact, case-sensitive comparisons
// unless a name says otherwise; blanks are spaces unless a caller names others.
#include <algorithm>
#include <string>
#include <string_view>

namespace kelpo {

inline constexpr std::wstring_view kSpaces = L" ";

// Without the leading and trailing characters of `blanks` (spaces unless told).
std::wstring_view TrimStart(std::wstring_view text, std::wstring_view blanks = kSpaces);
std::wstring_view TrimEnd(std::wstring_view text, std::wstring_view blanks = kSpaces);
std::wstring_view Trim(std::wstring_view text, std::wstring_view blanks = kSpaces);
// Trim, as a text of its own.
inline std::wstring TrimBlanks(std::wstring_view text) { return std::wstring(Trim(text)); }

// Every occurrence of `from` replaced, left to right, the replacements not searched again.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);
inline bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
inline bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != text.npos; }

// The text before its first zero character, the whole text when it holds none: how a text
// stored or handed over with its terminating zero (or junk after it) is read.
template <typename Char>
std::basic_string_view<Char> UpToFirstZero(std::basic_string_view<Char> text) {
  return text.substr(0, std::min(text.find(Char{}), text.size()));
}
inline std::wstring CutAtZero(std::wstring_view text) { return std::wstring(UpToFirstZero(text)); }

// --- ASCII letter case: only A-Z and a-z change; every other character (full-width
// letters, Chinese) stays as it is. ---

template <typename Char>
constexpr Char AsciiUpper(Char c) {
  return (c >= Char('a') && c <= Char('z')) ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}
template <typename Char>
constexpr Char AsciiLower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}
// The text with its Latin letters in upper case.
std::wstring ToAsciiUpper(std::wstring_view text);

template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](Char x, Char y) { return AsciiUpper(x) == AsciiUpper(y); });
}
template <typename Char>
bool StartsWithIgnoringAsciiCase(std::basic_string_view<Char> text, std::basic_string_view<Char> prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
// The same for wide text, so that a literal can be passed as it is.
inline bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return EqualsIgnoringAsciiCase<wchar_t>(a, b);
}
inline bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
  return StartsWithIgnoringAsciiCase<wchar_t>(text, prefix);
}
// True when `part`, whose letters are in upper case, occurs in the text in any letter case.
bool ContainsIgnoringAsciiCase(std::wstring_view text, std::wstring_view upper_case_part);

}  // namespace kelpo
