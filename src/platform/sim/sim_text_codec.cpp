#include "platform/sim/sim_text_codec.h"

#include "platform/unicode.h"

namespace kelpo {

std::string Utf8Codec::ToAnsi(std::wstring_view text) const { return ToUtf8(text); }

std::wstring Utf8Codec::FromAnsi(std::string_view bytes) const { return FromUtf8(bytes); }

}  // namespace kelpo
