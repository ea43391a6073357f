#include "reports/report_lines.h"

namespace kelpo {

std::wstring ReportLine(std::wstring_view status, std::wstring_view text, std::wstring_view variable) {
  std::wstring line;
  line.reserve(status.size() + 4 + text.size() + variable.size());
  line.append(status).append(L"    ").append(text).append(variable);
  return line;
}

std::wstring Separator(std::size_t length) { return std::wstring(length, L'-'); }

}  // namespace kelpo
