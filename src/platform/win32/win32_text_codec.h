#pragma once
// Text in a Windows code page: CP_ACP for the program, 936 for tests that need GBK.
#include "platform/text_codec.h"

namespace kelpo {

class Win32TextCodec final : public TextCodec {
 public:
  explicit Win32TextCodec(unsigned code_page = 0 /* CP_ACP */) : code_page_(code_page) {}
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view bytes) const override;

 private:
  unsigned code_page_;
};

}  // namespace kelpo
