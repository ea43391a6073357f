#include "text/numbers.h"

#include <string>

#include "text/strings.h"

namespace kelpo {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring_view TakeDigits(std::wstring_view& text) {
  std::size_t count = 0;
  while (count < text.size() && IsDigit(text[count])) ++count;
  const std::wstring_view digits = text.substr(0, count);
  text.remove_prefix(count);
  return digits;
}

std::optional<DecimalNumber> ReadNumber(std::wstring_view text, bool fraction_allowed) {
  text = Trim(text);
  DecimalNumber number;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    number.negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  std::wstring_view whole = TakeDigits(text);
  std::wstring_view fraction;
  if (fraction_allowed && !text.empty() && text.front() == L'.') {
    text.remove_prefix(1);
    fraction = TakeDigits(text);
  }
  if (!text.empty() || (whole.empty() && fraction.empty())) return std::nullopt;
  whole.remove_prefix(std::min(whole.find_first_not_of(L'0'), whole.size()));
  number.whole_digits = whole;
  number.zero_fraction = fraction.find_first_not_of(L'0') == std::wstring_view::npos;
  return number;
}

}  // namespace

std::optional<DecimalNumber> ReadWholeNumber(std::wstring_view text) { return ReadNumber(text, false); }

std::optional<DecimalNumber> ReadDecimalNumber(std::wstring_view text) { return ReadNumber(text, true); }

bool EqualsNumber(std::wstring_view text, std::uint32_t n) {
  const std::optional<DecimalNumber> number = ReadDecimalNumber(text);
  if (!number || !number->zero_fraction) return false;
  if (number->whole_digits.empty()) return n == 0;  // zero, whatever its sign
  return !number->negative && number->whole_digits == std::to_wstring(n);
}

bool IsFourPartNumber(std::wstring_view text) {
  int parts = 0;
  for (;;) {
    const std::size_t dot = text.find(L'.');
    if (++parts > 4 || !IsWholeNumber(text.substr(0, dot))) return false;
    if (dot == std::wstring_view::npos) return parts == 4;
    text.remove_prefix(dot + 1);
  }
}

}  // namespace kelpo
