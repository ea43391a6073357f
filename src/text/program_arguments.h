#pragma once
// What the command line asks of the program, and the usage text that says so.
#include <string_view>

namespace kelpo {

enum class ProgramMode {
  kWithWindows,    // no argument: the program as it always was
  kQuiet,          // start-up and automatic mode's apply, nothing on the screen, an exit status
  kShowUsage,      // the usage text
  kNotUnderstood,  // anything else
};

// The arguments after the program's name: blanks only are kWithWindows; a single switch, "/"
// or "-" and then "quiet" or "q" in any letter case, is kQuiet; "/?" or "-?" is kShowUsage.
// A switch may stand in double quotes. Anything else, a second switch included, is
// kNotUnderstood: a deployment that mistyped its command line must hear of it, not get the
// windows nobody is there to answer.
ProgramMode ParseProgramArguments(std::wstring_view arguments);

// What "kelpo.exe /?" shows, lines ended by CR LF.
extern const std::wstring_view kUsageText;

}  // namespace kelpo
