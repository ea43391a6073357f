#include "text/site_address.h"

#include <string_view>

#include "text/strings.h"

namespace kelpo {
namespace {

constexpr std::wstring_view kSchemeEnd = L"://";
constexpr std::wstring_view kHttp = L"http://";

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// A scheme name: a letter, then letters, digits, "+", "-" or ".".
bool IsSchemeName(std::wstring_view text) {
  if (text.empty() || !IsAsciiLetter(text.front())) return false;
  for (wchar_t c : text)
    if (!IsAsciiLetter(c) && !(c >= L'0' && c <= L'9') && c != L'+' && c != L'-' && c != L'.') return false;
  return true;
}

}  // namespace

std::wstring NormaliseSiteAddress(const std::wstring& address) {
  const std::wstring text = TrimBlanks(address);
  if (text.empty()) return L"";
  const std::size_t scheme_end = text.find(kSchemeEnd);
  if (scheme_end == std::wstring::npos) return text.substr(0, text.find(L'/'));

  // A leading scheme other than the exact "http" is replaced; everything else keeps the
  // designed removal of "http://" from the whole text.
  std::wstring prefix(kHttp);
  std::wstring rest = text;
  const std::wstring_view scheme = std::wstring_view(text).substr(0, scheme_end);
  if (scheme != L"http" && IsSchemeName(scheme)) {
    if (EqualsIgnoringAsciiCase(scheme, L"https")) prefix = L"https://";
    rest = text.substr(scheme_end + kSchemeEnd.size());
  }
  rest = TrimBlanks(ReplaceAll(rest, kHttp, L""));
  return prefix + rest.substr(0, rest.find_first_of(L":/"));
}

}  // namespace kelpo
