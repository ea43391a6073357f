// The command line: nothing is the program as always, one switch asks for the quiet run or the
// usage, and anything else is not understood.
#include <gtest/gtest.h>

#include "text/program_arguments.h"

namespace kelpo {
namespace {

struct ArgumentsCase {
  const wchar_t* arguments;
  ProgramMode mode;
};

TEST(ParseProgramArguments, EachCommandLineHasOneMeaning) {
  const ArgumentsCase cases[] = {
      {L"", ProgramMode::kWithWindows},
      {L"  \t ", ProgramMode::kWithWindows},
      {L"/quiet", ProgramMode::kQuiet},
      {L"/q", ProgramMode::kQuiet},
      {L"-quiet", ProgramMode::kQuiet},
      {L"-q", ProgramMode::kQuiet},
      {L"/QUIET", ProgramMode::kQuiet},
      {L"/Quiet", ProgramMode::kQuiet},
      {L"-Q", ProgramMode::kQuiet},
      {L"  /quiet\t ", ProgramMode::kQuiet},
      {L"\"/quiet\"", ProgramMode::kQuiet},  // as a shortcut or a script may quote it
      {L"/?", ProgramMode::kShowUsage},
      {L"-?", ProgramMode::kShowUsage},
      // Mistyped, half or doubled switches, and stray words, are not guessed at.
      {L"/quite", ProgramMode::kNotUnderstood},
      {L"quiet", ProgramMode::kNotUnderstood},
      {L"/", ProgramMode::kNotUnderstood},
      {L"-", ProgramMode::kNotUnderstood},
      {L"//quiet", ProgramMode::kNotUnderstood},
      {L"/quiet/", ProgramMode::kNotUnderstood},
      {L"/quiet /quiet", ProgramMode::kNotUnderstood},
      {L"/quiet /?", ProgramMode::kNotUnderstood},
      {L"/quiet x", ProgramMode::kNotUnderstood},
      {L"\"/quiet", ProgramMode::kNotUnderstood},
      {L"\"\"", ProgramMode::kNotUnderstood},
      {L"/h", ProgramMode::kNotUnderstood},
      {L"/\xFF31uiet", ProgramMode::kNotUnderstood},  // a full-width Q is no Q
  };
  for (const ArgumentsCase& c : cases)
    EXPECT_EQ(ParseProgramArguments(c.arguments), c.mode) << ::testing::PrintToString(std::wstring(c.arguments));
}

TEST(UsageText, NamesEverySwitchAndEveryExitStatus) {
  const std::wstring usage(kUsageText);
  for (const wchar_t* part : {L"/quiet", L"/q", L"-quiet", L"/?", L"  0  ", L"  1  ", L"  2  ", L"  3  "})
    EXPECT_NE(usage.find(part), std::wstring::npos) << ::testing::PrintToString(std::wstring(part));
  // Lines end in CR LF, for a console and for Notepad alike.
  for (std::size_t at = usage.find(L'\n'); at != std::wstring::npos; at = usage.find(L'\n', at + 1))
    EXPECT_EQ(usage[at - 1], L'\r') << "a bare line feed at " << at;
}

}  // namespace
}  // namespace kelpo
