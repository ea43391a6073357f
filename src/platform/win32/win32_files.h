#pragma once
// The program folder and its companion files, over kernel32's wide-character calls. File
// contents are decoded with the codec the program uses for the ANSI code page.
#include "platform/files.h"
#include "platform/text_codec.h"

namespace kelpo {

class Win32Files final : public Files {
 public:
  explicit Win32Files(const TextCodec& codec) : codec_(codec) {}

  std::wstring ProgramFolder() const override;
  bool Exists(const std::wstring& path) const override;
  bool ReadLines(const std::wstring& path,
                 const std::function<bool(const std::wstring&)>& on_line) const override;

 private:
  const TextCodec& codec_;
};

}  // namespace kelpo
