#pragma once
// The "wscript.shell" automation object, created by its program identifier and called
// late-bound.
#include "platform/shell.h"

namespace kelpo {

class Win32Shell final : public Shell {
 public:
  bool Run(const std::wstring& command_line) override;
};

}  // namespace kelpo
