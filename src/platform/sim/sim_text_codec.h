#pragma once
// UTF-8 as the ANSI code page, for tests where every character must have bytes.

#include "platform/text_codec.h"

namespace kelpo {

class Utf8Codec final : public TextCodec {
 public:
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;
};

}  // namespace kelpo
