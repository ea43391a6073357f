#include "platform/command_line.h"

namespace kelpo {
namespace {

constexpr std::wstring_view kBlanks = L" \t";

std::wstring_view SkipBlanks(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  return first == std::wstring_view::npos ? std::wstring_view() : text.substr(first);
}

}  // namespace

ProgramAndArguments SplitCommandLine(std::wstring_view command_line) {
  std::wstring_view rest = SkipBlanks(command_line);
  std::wstring_view program;
  if (!rest.empty() && rest.front() == L'"') {
    rest.remove_prefix(1);
    const std::size_t closing = rest.find(L'"');
    program = rest.substr(0, closing);
    rest = closing == std::wstring_view::npos ? std::wstring_view() : rest.substr(closing + 1);
  } else {
    const std::size_t blank = rest.find_first_of(kBlanks);
    program = rest.substr(0, blank);
    rest = blank == std::wstring_view::npos ? std::wstring_view() : rest.substr(blank);
  }
  return {std::wstring(program), std::wstring(SkipBlanks(rest))};
}

std::wstring ProgramFileName(std::wstring_view command_line) {
  const std::wstring program = SplitCommandLine(command_line).program;
  const std::size_t separator = program.find_last_of(L"\\/:");
  return separator == std::wstring::npos ? program : program.substr(separator + 1);
}

}  // namespace kelpo
