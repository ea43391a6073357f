#include "reports/check_rules.h"

#include <algorithm>

#include "reports/browser_keys.h"

namespace kelpo {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring TrimSpaces(const std::wstring& text) {
  const std::size_t begin = text.find_first_not_of(L' ');
  if (begin == std::wstring::npos) return L"";
  return text.substr(begin, text.find_last_not_of(L' ') + 1 - begin);
}

// The sign of (text - n) when the text is a decimal number; 2 when it is not one. Any length
// of digits is compared exactly, without overflow.
int CompareWithNumber(const std::wstring& text, std::int64_t n) {
  constexpr int kNotANumber = 2;
  const std::wstring t = TrimSpaces(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) negative = t[i++] == L'-';
  const std::size_t whole_begin = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  std::wstring whole = t.substr(whole_begin, i - whole_begin);
  bool fraction = false;
  std::size_t fraction_digits = 0;
  if (i < t.size() && t[i] == L'.') {
    for (++i; i < t.size() && IsDigit(t[i]); ++i, ++fraction_digits)
      fraction = fraction || t[i] != L'0';
  }
  if (i != t.size() || (whole.empty() && fraction_digits == 0)) return kNotANumber;

  whole.erase(0, std::min(whole.find_first_not_of(L'0'), whole.size()));
  const bool zero = whole.empty() && !fraction;
  const int sign = zero ? 0 : (negative ? -1 : 1);
  const int n_sign = n == 0 ? 0 : (n < 0 ? -1 : 1);
  if (sign != n_sign) return sign < n_sign ? -1 : 1;
  if (sign == 0) return 0;
  std::wstring magnitude = std::to_wstring(n < 0 ? -static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n));
  int compared = whole.size() != magnitude.size() ? (whole.size() < magnitude.size() ? -1 : 1)
                 : whole < magnitude ? -1 : whole > magnitude ? 1 : (fraction ? 1 : 0);
  return negative ? -compared : compared;
}

}  // namespace

bool EqualsNumber(const std::wstring& text, std::int64_t n) { return CompareWithNumber(text, n) == 0; }

bool VersionBeginsWith(const std::wstring& version, wchar_t digit) {
  const std::wstring trimmed = TrimSpaces(version);
  return !trimmed.empty() && trimmed.front() == digit;
}

FlashState ClassifyFlash(const std::wstring& caption) {
  const std::wstring trimmed = TrimSpaces(caption);
  if (trimmed.empty()) return FlashState::kMissing;
  const int compared = CompareWithNumber(trimmed.substr(0, trimmed.find(L'.')), 10);
  return compared == -1 || compared == 2 ? FlashState::kTooOld : FlashState::kCurrent;
}

std::wstring DotsForCommas(std::wstring version) {
  std::replace(version.begin(), version.end(), L',', L'.');
  return version;
}

std::wstring ReadIeVersion(Module1& module1) {
  return module1.ReadRegValue(reg::kLocalMachine, keys::kInternetExplorer, keys::kIeVersionValue);
}

std::wstring ReadFlashVersion(Module1& module1) {
  return DotsForCommas(module1.ReadRegValue(reg::kLocalMachine, keys::kFlashPlayer, keys::kFlashVersionValue));
}

std::wstring ReadFlashVersionRaw(Module1& module1) {
  std::int32_t type = 0;
  return DotsForCommas(CutAtZero(module1.GetRegEntry(L"HKEY_LOCAL_MACHINE", keys::kFlashPlayer,
                                                     keys::kFlashVersionValue, type)));
}

}  // namespace kelpo
