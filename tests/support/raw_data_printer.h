#pragma once
// Readable failure messages for registry data: the type and the bytes in hex.
#include <cstdio>
#include <ostream>
#include <string>

#include "platform/raw_registry.h"

namespace kelpo {

inline void PrintTo(const RawData& data, std::ostream* out) {
  *out << "type " << data.type << ", " << data.bytes.size() << " bytes:";
  for (unsigned char byte : data.bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", byte);
    *out << hex;
  }
}

inline void PrintTo(const RawValue& value, std::ostream* out) {
  *out << "value of " << value.name.size() << " characters, ";
  PrintTo(value.data, out);
}

}  // namespace kelpo
