#pragma once
// The program folder and its companion files, over kernel32's wide-character calls.
#include "platform/files.h"

namespace kelpo {

class Win32Files final : public Files {
 public:
  std::wstring ProgramFolder() const override;
  bool Exists(const std::wstring& path) const override;
  bool ReadBlocks(const std::wstring& path, const std::function<bool(std::string_view)>& on_bytes) const override;
};

}  // namespace kelpo
