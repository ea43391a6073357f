// The in-memory ANSI code page: invalid bytes never turn into characters they do not show.
#include <gtest/gtest.h>

#include "platform/sim/sim_text_codec.h"

namespace kelpo {
namespace {

TEST(Utf8Codec, InvalidAndOverlongSequencesBecomeReplacementCharacters) {
  Utf8Codec codec;
  // C0 8D is an overlong carriage return: it must not become a line end.
  EXPECT_EQ(codec.FromAnsi("URL=\xa8\xc0\x8dl"), L"URL=\uFFFD\uFFFD\uFFFDl");
  EXPECT_EQ(codec.FromAnsi("\xe0\x80\xaf"), L"\uFFFD\uFFFD\uFFFD");  // overlong "/"
  EXPECT_EQ(codec.FromAnsi("\xed\xa0\x80"), L"\uFFFD\uFFFD\uFFFD");  // a lone surrogate
  EXPECT_EQ(codec.FromAnsi("\xe5\xb7\xa5\xe5"), L"工\uFFFD");          // cut at the end
  EXPECT_EQ(codec.FromAnsi(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(codec.ToAnsi(codec.FromAnsi("可信站点")), "可信站点");
}

}  // namespace
}  // namespace kelpo
