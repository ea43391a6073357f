#pragma once
// Code page 936 (GBK) for tests where a Chinese character is two ANSI bytes.
#include <memory>

#include "platform/text_codec.h"

namespace kelpo::testing {
std::unique_ptr<TextCodec> MakeGbkCodec();
}
