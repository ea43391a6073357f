#pragma once
// The set-up file "Kelpo.ini": one site address and the switch for automatic mode.
#include <string>

#include "platform/files.h"
#include "platform/text_codec.h"

namespace kelpo {

struct SetupFileContents {
  std::wstring raw_url;    // the rest of the first "URL=" line, unchanged; empty without one
  bool auto_mode = false;  // a line "Run=AUTO" came before the first "URL=" line
};

// Reads the file line by line in the ANSI code page: ";" starts a comment, "URL=" gives the
// address and ends the reading, "Run=AUTO" exactly switches automatic mode on; everything else
// is ignored. Keys are compared case-sensitively and lines are not trimmed. A file that cannot
// be opened or read reads as an empty file.
SetupFileContents ReadSetupFileContents(const Files& files, const TextCodec& codec, const std::wstring& path);

}  // namespace kelpo
