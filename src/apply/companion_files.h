#pragma once
// The files the administrator puts beside the program.
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kelpo::companion {

inline constexpr std::wstring_view kRegistryScript = L"TrustedSites.reg";
inline constexpr std::wstring_view kFlashInstaller = L"install_flash_player_10_active_x.exe";
inline constexpr std::wstring_view kSetupFile = L"Kelpo.ini";
inline constexpr std::wstring_view kBackup = L"backup.reg";
// The title of the missing-file messages.
inline constexpr std::wstring_view kMessageTitle = L"Kelpo";

}  // namespace kelpo::companion

namespace kelpo {

// The program folder, "\" and the name.
std::wstring CompanionPath(const Files& files, std::wstring_view name);

// True when the file lies in the program folder; a test that cannot be made counts as missing.
[[nodiscard]] bool CompanionFileExists(const Files& files, std::wstring_view name);

// True when the file lies in the program folder. When it does not, shows the information box
// "系统必要的文件（name）不存在，请与管理员联系。" titled "Kelpo" and returns false once it is closed.
[[nodiscard]] bool RequireCompanionFile(const Platform& platform, std::wstring_view name);

}  // namespace kelpo
