#include <iconv.h>

#include <stdexcept>
#include <vector>

#include "support/gbk_codec.h"

namespace kelpo::testing {
namespace {

// iconv between GBK and the platform's wchar_t (UTF-32 here).
std::string Convert(const char* to, const char* from, const char* bytes, std::size_t length) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::vector<char> out(length * 4 + 8);
  char* in_ptr = const_cast<char*>(bytes);
  char* out_ptr = out.data();
  std::size_t in_left = length, out_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1)) break;
    // An invalid or cut sequence: skip one byte, as a replacement would.
    ++in_ptr;
    --in_left;
  }
  iconv_close(cd);
  return std::string(out.data(), static_cast<std::size_t>(out_ptr - out.data()));
}

class GbkCodec final : public TextCodec {
 public:
  std::string ToAnsi(std::wstring_view text) const override {
    return Convert("GBK", "WCHAR_T", reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  }
  std::wstring FromAnsi(std::string_view bytes) const override {
    const std::string wide = Convert("WCHAR_T", "GBK", bytes.data(), bytes.size());
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
  }
};
}  // namespace

std::unique_ptr<TextCodec> MakeGbkCodec() { return std::make_unique<GbkCodec>(); }

}  // namespace kelpo::testing
