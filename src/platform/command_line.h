#pragma once
// A command line taken apart as Windows finds the program in it.
#include <string>
#include <string_view>

namespace kelpo {

struct ProgramAndArguments {
  std::wstring program;    // the first part, without its quotes
  std::wstring arguments;  // the rest as written, without the blanks that lead up to it
};

// The program is the part in quotes when the line opens with one (up to the closing quote, or
// to the end when there is none), otherwise the part up to the first blank or tab; blanks
// before it are skipped. No other quote is looked at: the arguments pass on untouched.
ProgramAndArguments SplitCommandLine(std::wstring_view command_line);

// The program's file name without its folder ("regedit.exe" of "C:\Windows\regedit.exe").
std::wstring ProgramFileName(std::wstring_view command_line);

}  // namespace kelpo
