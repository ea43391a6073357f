#pragma once
// The system's ANSI code page and the program's wide text. Byte limits count ANSI bytes.
#include <string>
#include <string_view>

namespace kelpo {

class TextCodec {
 public:
  TextCodec() = default;
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;
  virtual ~TextCodec() = default;

  // Every character becomes bytes; one the code page lacks becomes the code page's default.
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
  // Every byte is converted, zero bytes included; an invalid sequence becomes U+FFFD.
  virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
};

}  // namespace kelpo
