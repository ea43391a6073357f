#pragma once
// Text for whoever started the program from a command line. Include only after <windows.h>.
#include <string_view>

namespace kelpo {

// Writes the text to the standard output the program was handed (a redirection to a file or a
// pipe gets it in the ANSI code page), or else to the console of the process that started
// it. A command prompt does not wait for a program with windows, so the console may already
// show its next prompt: the text starts on a line of its own there. False when there is
// neither, or the text could not be written.
bool WriteToStartingConsole(std::wstring_view text);

}  // namespace kelpo
