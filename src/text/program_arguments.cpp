#include "text/program_arguments.h"

#include <vector>

#include "text/strings.h"

namespace kelpo {
namespace {

constexpr std::wstring_view kBlanks = L" \t";

// The words of the arguments, split at blanks; quotes around a word are dropped.
std::vector<std::wstring_view> WordsOf(std::wstring_view arguments) {
  std::vector<std::wstring_view> words;
  while (!(arguments = TrimStart(arguments, kBlanks)).empty()) {
    const std::size_t end = arguments.find_first_of(kBlanks);
    std::wstring_view word = arguments.substr(0, end);
    arguments = end == std::wstring_view::npos ? std::wstring_view() : arguments.substr(end);
    if (word.size() >= 2 && word.front() == L'"' && word.back() == L'"') word = word.substr(1, word.size() - 2);
    words.push_back(word);
  }
  return words;
}

ProgramMode ModeOfSwitch(std::wstring_view word) {
  if (word.size() < 2 || (word.front() != L'/' && word.front() != L'-')) return ProgramMode::kNotUnderstood;
  const std::wstring_view name = word.substr(1);
  if (EqualsIgnoringAsciiCase(name, L"quiet") || EqualsIgnoringAsciiCase(name, L"q")) return ProgramMode::kQuiet;
  if (name == L"?") return ProgramMode::kShowUsage;
  return ProgramMode::kNotUnderstood;
}

}  // namespace

ProgramMode ParseProgramArguments(std::wstring_view arguments) {
  const std::vector<std::wstring_view> words = WordsOf(arguments);
  if (words.empty()) return ProgramMode::kWithWindows;
  if (words.size() > 1) return ProgramMode::kNotUnderstood;
  return ModeOfSwitch(words.front());
}

const std::wstring_view kUsageText =
    L"Usage: kelpo.exe [/quiet | /?]\r\n"
    L"\r\n"
    L"  (none)   Start with the check window, or in automatic mode when Kelpo.ini says Run=AUTO.\r\n"
    L"  /quiet   Also /q or -quiet. Apply the configuration for the site of Kelpo.ini without\r\n"
    L"           showing anything, as automatic mode does, and end with an exit status:\r\n"
    L"             0  every step succeeded\r\n"
    L"             1  a step failed or warned\r\n"
    L"             2  a file beside kelpo.exe is missing, or Kelpo.ini names no site\r\n"
    L"             3  the command line is not understood\r\n"
    L"  /?       Show this text.\r\n"
    L"\r\n"
    L"From a command prompt, start /wait kelpo.exe /quiet waits for the end, so that\r\n"
    L"%ERRORLEVEL% holds the exit status.\r\n";

}  // namespace kelpo
