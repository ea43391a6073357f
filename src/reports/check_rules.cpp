#include "reports/check_rules.h"

#include <algorithm>

#include "engine/program_steps.h"
#include "engine/text_rules.h"
#include "reports/browser_keys.h"

namespace kelpo {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool EqualsNumber(const std::wstring& text, std::uint32_t n) {
  const std::wstring t = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) negative = t[i++] == L'-';
  const std::size_t whole_begin = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  std::wstring whole = t.substr(whole_begin, i - whole_begin);
  std::size_t fraction_digits = 0;
  bool fraction_is_zero = true;
  if (i < t.size() && t[i] == L'.') {
    for (++i; i < t.size() && IsDigit(t[i]); ++i, ++fraction_digits) fraction_is_zero = fraction_is_zero && t[i] == L'0';
  }
  if (i != t.size() || (whole.empty() && fraction_digits == 0) || !fraction_is_zero) return false;
  // Any number of digits compares exactly, without overflow.
  whole.erase(0, std::min(whole.find_first_not_of(L'0'), whole.size()));
  if (whole.empty()) return n == 0;  // zero, whatever its sign
  return !negative && whole == std::to_wstring(n);
}

FlashState ClassifyFlash(const std::wstring& caption) {
  if (TrimBlanks(caption).empty()) return FlashState::kMissing;
  return FlashPlayerNeedsUpdate(caption) ? FlashState::kTooOld : FlashState::kCurrent;
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
