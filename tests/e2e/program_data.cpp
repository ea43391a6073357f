#include <windows.h>
#include <shlobj.h>

#include "e2e/program_data.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "e2e/program_run.h"

namespace e2e {

std::filesystem::path KelpoData() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return std::filesystem::path(folder) / L"Kelpo";
}

std::vector<std::wstring> LogLines() {
  std::ifstream in(KelpoData() / L"kelpo.log", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::string text = bytes.str();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
  std::vector<std::wstring> lines;
  std::wstringstream stream(wide);
  for (std::wstring line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(line.size() > 21 ? line.substr(21) : line);  // "2024-05-17 09:30:00  "
  }
  return lines;
}

std::wstring BackupNamedIn(const std::vector<std::wstring>& lines) {
  for (const std::wstring& line : lines)
    if (line.rfind(L"backup: ", 0) == 0) return line.substr(8, line.find(L" (to undo") - 8);
  return L"";
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::wstring ProgramVersion() {
  const std::wstring exe = Paths().kelpo_exe.wstring();
  DWORD handle = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), &handle));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (info.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
    return L"?";
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

}  // namespace e2e
