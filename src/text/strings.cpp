#include "text/strings.h"

namespace kelpo {

std::wstring_view TrimStart(std::wstring_view text, std::wstring_view blanks) {
  const std::size_t begin = text.find_first_not_of(blanks);
  return begin == std::wstring_view::npos ? std::wstring_view() : text.substr(begin);
}

std::wstring_view TrimEnd(std::wstring_view text, std::wstring_view blanks) {
  const std::size_t last = text.find_last_not_of(blanks);
  return last == std::wstring_view::npos ? std::wstring_view() : text.substr(0, last + 1);
}

std::wstring_view Trim(std::wstring_view text, std::wstring_view blanks) { return TrimEnd(TrimStart(text, blanks), blanks); }

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(text);
  std::wstring result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = text.find(from); found != std::wstring_view::npos; found = text.find(from, start)) {
    result.append(text.substr(start, found - start)).append(to);
    start = found + from.size();
  }
  result.append(text.substr(start));
  return result;
}

std::wstring ToAsciiUpper(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = AsciiUpper(c);
  return upper;
}

bool ContainsIgnoringAsciiCase(std::wstring_view text, std::wstring_view upper_case_part) {
  return Contains(ToAsciiUpper(text), upper_case_part);
}

}  // namespace kelpo
