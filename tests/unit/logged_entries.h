#pragma once
// The entries of the apply log an in-memory run wrote, for comparing what an apply recorded.
#include <string>
#include <vector>

#include "platform/sim/sim_files.h"

namespace kelpo::testing {

inline const std::wstring kSimApplyLog = std::wstring(kSimLocalAppData) + L"\\Kelpo\\kelpo.log";

// Each entry of the log, in order, without its time ("2024-05-17 09:30:00  ").
inline std::vector<std::string> LoggedEntries(const SimFiles& files) {
  std::string text = files.BytesOf(kSimApplyLog).value_or("");
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    lines.push_back(line.size() > 21 ? line.substr(21) : line);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

}  // namespace kelpo::testing
