#pragma once
// Conversions between the program's wide text and the Unicode forms files and the registry
// keep: UTF-16 code units (what Windows stores), their little-endian bytes, and UTF-8. On
// Windows wchar_t is a UTF-16 unit; elsewhere it holds a whole code point, and characters
// beyond the first 65,536 become surrogate pairs. A lone surrogate passes through unchanged,
// so any sequence of UTF-16 units survives a round trip through wide text.
#include <string>
#include <string_view>

namespace kelpo {

std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view units);

// Two bytes per unit, low byte first.
std::string Utf16LeBytes(std::u16string_view units);
// The units of little-endian bytes; an odd last byte is left out.
std::u16string Utf16FromLeBytes(std::string_view bytes);

// UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
// From UTF-8; an invalid or overlong sequence, or an encoded surrogate, becomes U+FFFD byte by
// byte.
std::wstring FromUtf8(std::string_view bytes);

}  // namespace kelpo
