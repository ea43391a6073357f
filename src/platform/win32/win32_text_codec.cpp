#include "platform/win32/win32_text_codec.h"

#include <windows.h>

namespace kelpo {

std::string Win32TextCodec::ToAnsi(std::wstring_view text) const {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(code_page_, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0)
    WideCharToMultiByte(code_page_, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
  return out;
}

std::wstring Win32TextCodec::FromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(code_page_, 0, bytes.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(code_page_, 0, bytes.data(), length, out.data(), needed);
  return out;
}

}  // namespace kelpo
