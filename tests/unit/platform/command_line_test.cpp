// Taking the program out of a command line, as the start of a program does.
#include <gtest/gtest.h>

#include "platform/command_line.h"

namespace kelpo {
namespace {

TEST(SplitCommandLine, TheProgramAndItsArgumentsAsWindowsFindsThem) {
  struct Case {
    const wchar_t* line;
    const wchar_t* program;
    const wchar_t* arguments;
  };
  const Case cases[] = {
      // The installer: the whole path quoted, no arguments.
      {L"\"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe\"",
       L"C:\\Program Files\\Kelpo\\install_flash_player_10_active_x.exe", L""},
      // Undo's editor: two blanks before the switch, the quoted script passed on as written.
      {L"regedit.exe  /s \"D:\\IE Tools\\backup.reg\"", L"regedit.exe", L"/s \"D:\\IE Tools\\backup.reg\""},
      {L"  \t\"C:\\a b\\x.exe\"  -q  ", L"C:\\a b\\x.exe", L"-q  "},
      {L"\"C:\\a b\\x.exe\"/s", L"C:\\a b\\x.exe", L"/s"},
      {L"\"C:\\unclosed quote\\x.exe -q", L"C:\\unclosed quote\\x.exe -q", L""},
      {L"x.exe\targ", L"x.exe", L"arg"},
      {L"C:\\no\"quote\".exe a", L"C:\\no\"quote\".exe", L"a"},
      {L"", L"", L""},
      {L"   ", L"", L""},
  };
  for (const Case& c : cases) {
    const ProgramAndArguments split = SplitCommandLine(c.line);
    EXPECT_EQ(split.program, c.program) << ::testing::PrintToString(std::wstring(c.line));
    EXPECT_EQ(split.arguments, c.arguments) << ::testing::PrintToString(std::wstring(c.line));
  }
}

TEST(ProgramFileName, TheFileNameWithoutItsFolder) {
  EXPECT_EQ(ProgramFileName(L"\"C:\\Program Files\\Kelpo\\setup.exe\" /q"), L"setup.exe");
  EXPECT_EQ(ProgramFileName(L"regedit.exe  /s \"C:\\a\\b.reg\""), L"regedit.exe");
  EXPECT_EQ(ProgramFileName(L"C:x.exe"), L"x.exe");
  EXPECT_EQ(ProgramFileName(L""), L"");
}

}  // namespace
}  // namespace kelpo
