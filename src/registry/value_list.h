#pragma once
// The values of an open key as the program enumerates them: RegEnumValueA into a 255-byte name
// buffer and a 255-byte data buffer, both full-sized again for every call.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kelpo {

struct ListedValue {
  std::string name;   // ANSI, up to its first zero
  std::uint32_t type = 0;
  std::string data;   // the bytes as far as the buffer holds them
  bool whole = false; // the enumeration call succeeded: name, type and data are all there

  // A REG_DWORD holding `number`.
  bool HoldsDword(std::uint32_t number) const;
};

// Every value of the key, in enumeration order. A value whose data is too big for the buffer
// is still listed (by its name, not whole); any other failing call ends the list. `count`, when
// known, is how many values the key has: the list ends after the last of them.
std::vector<ListedValue> ListValues(Registry& registry, HKey key, std::optional<std::uint32_t> count = std::nullopt);

}  // namespace kelpo
