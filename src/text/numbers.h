#pragma once
// Numbers as the program's rules read them from text: spaces around, an optional sign,
// decimal digits and, where a fraction may follow, "." and digits. Nothing else is a number:
// no tab, no hexadecimal, no exponent. Any number of digits is read, without overflow.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelpo {

struct DecimalNumber {
  bool negative = false;
  std::wstring_view whole_digits;  // the whole part without leading zeros: empty for zero
  bool zero_fraction = true;       // no fraction, or one of zeros
};

// A whole number: digits after the optional sign, nothing more. The result refers to `text`.
std::optional<DecimalNumber> ReadWholeNumber(std::wstring_view text);
// A number with an optional fraction ("67", "0.0", "2.", ".5"). The result refers to `text`.
std::optional<DecimalNumber> ReadDecimalNumber(std::wstring_view text);

inline bool IsWholeNumber(std::wstring_view text) { return ReadWholeNumber(text).has_value(); }
// True when the text, read as a decimal number, equals n exactly: "067", "+67" and "67.0" equal
// 67, "-0" equals 0. An empty text or one that is not a number equals nothing.
bool EqualsNumber(std::wstring_view text, std::uint32_t n);
// True when the text splits at "." into exactly four whole numbers (an address: "10.0.0.1").
bool IsFourPartNumber(std::wstring_view text);

}  // namespace kelpo
