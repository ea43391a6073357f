#include "reports/report.h"

#include <algorithm>

namespace kelpo {

std::wstring ReportLine(std::wstring_view status, std::wstring_view text, std::wstring_view variable) {
  std::wstring line;
  line.reserve(status.size() + 4 + text.size() + variable.size());
  line.append(status).append(L"    ").append(text).append(variable);
  return line;
}

std::wstring Separator(std::size_t length) { return std::wstring(length, L'-'); }

void Report::AddLine(std::wstring_view status, std::wstring_view text, std::wstring_view variable) {
  lines.push_back(ReportLine(status, text, variable));
  if (status == report::kSuccess) ++successes;
  if (status == report::kFailure) ++failures;
  if (status == report::kWarning) ++warnings;
}

bool Report::AnyLineContains(std::wstring_view text) const {
  return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.find(text) != line.npos; });
}

}  // namespace kelpo
