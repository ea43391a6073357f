#include <windows.h>

#include "support/gbk_codec.h"

namespace kelpo::testing {
namespace {

class GbkCodec final : public TextCodec {
 public:
  std::string ToAnsi(std::wstring_view text) const override {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(936, 0, text.data(), length, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(936, 0, text.data(), length, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
  }
  std::wstring FromAnsi(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(936, 0, bytes.data(), length, nullptr, 0)), L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), length, out.data(), static_cast<int>(out.size()));
    return out;
  }
};
}  // namespace

std::unique_ptr<TextCodec> MakeGbkCodec() { return std::make_unique<GbkCodec>(); }

}  // namespace kelpo::testing
