#pragma once
// What kelpo.exe keeps for the user it runs as: the log of its applies and their backups, in the
// user's local application-data folder. Include only after <windows.h>.
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// %LOCALAPPDATA%\Kelpo: kelpo.log and the folder Backups.
std::filesystem::path KelpoData();
// The log's lines, without their times; none when there is no log.
std::vector<std::wstring> LogLines();
// The path the log names after "backup: "; empty when it names none.
std::wstring BackupNamedIn(const std::vector<std::wstring>& lines);
bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line);
// kelpo.exe's version as its version resource gives it ("1.2.0.0").
std::wstring ProgramVersion();

}  // namespace e2e
