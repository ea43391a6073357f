#pragma once
// Reads the keys and values of a registry script, as regedit would import them: REGEDIT4 in the
// ANSI code page, or "Windows Registry Editor Version 5.00" in UTF-16LE after a byte-order
// mark. Key lines ("[key]", "[-key]"; the key ends at the line's last "]"), value lines
// ("name"=..., @=..., "name"=-; \\ and \" escaped in quoted names and strings) and hex data
// continued over lines ending in "\" are read; comments (";") and anything else are passed
// over. The reader errs on the side of reading more: a header it does not know, or data it
// cannot read, still yields the keys and value names, so a backup of them is never short.
// Any input is safe to read.
#include <string_view>

#include "backup/registry_script.h"
#include "platform/text_codec.h"

namespace kelpo {

enum class ScriptFormat { kRegedit4, kVersion5, kUnknown };

struct ReadScript {
  ScriptFormat format = ScriptFormat::kUnknown;
  RegistryScript script;
};

// `codec` is the ANSI code page, for files without a UTF-16 byte-order mark.
ReadScript ReadRegistryScript(std::string_view bytes, const TextCodec& codec);

}  // namespace kelpo
