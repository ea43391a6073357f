#include "apply/companion_files.h"

namespace kelpo {

std::wstring CompanionPath(const Files& files, std::wstring_view name) {
  return files.ProgramFolder() + L"\\" + std::wstring(name);
}

bool CompanionFileExists(const Files& files, std::wstring_view name) {
  try {
    return files.Exists(CompanionPath(files, name));
  } catch (...) {
    // A test that breaks down proves nothing: the file counts as missing and nothing is applied.
    return false;
  }
}

bool RequireCompanionFile(const Platform& platform, std::wstring_view name) {
  if (CompanionFileExists(platform.files, name)) return true;
  platform.desktop.ShowMessage(L"系统必要的文件（" + std::wstring(name) + L"）不存在，请与管理员联系。",
                               std::wstring(companion::kMessageTitle), box::kIconInformation | box::kOk);
  return false;
}

}  // namespace kelpo
