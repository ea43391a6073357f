#pragma once
// Writes a registry script as regedit exports one: "Windows Registry Editor Version 5.00",
// UTF-16LE with a byte-order mark, CRLF line ends, a blank line after each key. Every value is
// written so that `regedit /s` stores exactly the bytes given: a REG_SZ is a quoted string only
// when quoting can say it exactly (one terminating zero, no other zero, no line break, an even
// size), otherwise hex(1); a REG_DWORD of four bytes is dword:, everything else hex(N).
#include <string>
#include <string_view>

#include "backup/registry_script.h"

namespace kelpo {

inline constexpr std::wstring_view kVersion5Header = L"Windows Registry Editor Version 5.00";

// A name a script line can hold: no line break and no zero character. A value or key whose name
// cannot be written is left out of the script.
bool CanWriteName(std::wstring_view name);

// The script's text as UTF-16 code units, without the byte-order mark.
std::u16string RegistryScriptText(const RegistryScript& script);
// The file's bytes: the byte-order mark and the text in UTF-16LE.
std::string EncodeRegistryScript(const RegistryScript& script);

}  // namespace kelpo
