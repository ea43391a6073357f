#pragma once
// The program's version, read from its own version resource (defined in kelpo.rc).
#include <string>

namespace kelpo {

// The file version as four numbers joined by ".": "1.0.0.0". Empty when the resource cannot be
// read.
std::wstring ProgramVersion();

}  // namespace kelpo
