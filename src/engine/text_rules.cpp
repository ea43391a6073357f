#include "engine/text_rules.h"

namespace kelpo {

std::wstring TrimBlanks(std::wstring_view text) {
  const std::size_t begin = text.find_first_not_of(L' ');
  if (begin == std::wstring_view::npos) return L"";
  return std::wstring(text.substr(begin, text.find_last_not_of(L' ') + 1 - begin));
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(text);
  std::wstring result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = text.find(from); found != std::wstring_view::npos;
       found = text.find(from, start)) {
    result.append(text.substr(start, found - start)).append(to);
    start = found + from.size();
  }
  result.append(text.substr(start));
  return result;
}

bool IsWholeNumber(std::wstring_view text) {
  std::wstring trimmed = TrimBlanks(text);
  std::wstring_view digits = trimmed;
  if (!digits.empty() && (digits.front() == L'+' || digits.front() == L'-')) digits.remove_prefix(1);
  if (digits.empty()) return false;
  for (wchar_t c : digits)
    if (c < L'0' || c > L'9') return false;
  return true;
}

}  // namespace kelpo
