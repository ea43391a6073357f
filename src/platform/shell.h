#pragma once
// The scripting shell automation object ("wscript.shell").
#include <string>

namespace kelpo {

class Shell {
 public:
  Shell() = default;
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;
  virtual ~Shell() = default;

  // Creates the object by its program identifier and calls "run" with the single argument.
  // False when the object cannot be created or the call fails. Does not wait.
  [[nodiscard]] virtual bool Run(const std::wstring& command_line) = 0;
};

}  // namespace kelpo
