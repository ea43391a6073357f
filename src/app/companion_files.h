#pragma once
// The files the administrator puts beside the program.
#include <string>

#include "engine/program_steps.h"
#include "platform/platform.h"

namespace kelpo {

// The registry script and the Flash Player installer: kRegistryScriptName, kFlashInstallerName.
namespace companion {
inline constexpr const wchar_t* kSetupFile = L"Kelpo.ini";
inline constexpr const wchar_t* kBackup = L"backup.reg";
// The title of the missing-file messages.
inline constexpr const wchar_t* kMessageTitle = L"Kelpo";
}  // namespace companion

// The program folder, "\" and the name.
std::wstring CompanionPath(const Files& files, const std::wstring& name);

// True when the file lies in the program folder; a test that cannot be made counts as missing.
bool CompanionFileExists(const Files& files, const std::wstring& name);

// True when the file lies in the program folder. When it does not, shows the information box
// "系统必要的文件（name）不存在，请与管理员联系。" titled "Kelpo" and returns false once it is closed.
bool RequireCompanionFile(const Platform& platform, const std::wstring& name);

}  // namespace kelpo
