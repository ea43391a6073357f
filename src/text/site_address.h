#pragma once
// The one rule that turns a typed or set-up site address into a site item.
#include <string>

namespace kelpo {

// Blanks (spaces only) trimmed; empty when nothing is left. An address with "://" becomes
// "http://" and the host, with every "http://" removed, trimmed, and cut before its first ":"
// or "/" (port and path dropped); a leading "https://" in any letter case keeps its scheme
// ("https://host"), any other leading scheme gives "http://host". An address without "://"
// is cut before its first "/" and gets no scheme (a ":" in it stays).
std::wstring NormaliseSiteAddress(const std::wstring& address);

}  // namespace kelpo
