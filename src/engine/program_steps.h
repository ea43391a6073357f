#pragma once
// The steps that deal with other programs rather than registry values: ending the browser,
// clearing its URL cache, importing the registry script, updating Flash Player.
#include <string>

#include "cache/module2.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace kelpo {

inline constexpr const wchar_t* kRegistryScriptName = L"TrustedSites.reg";
inline constexpr const wchar_t* kFlashInstallerName = L"install_flash_player_10_active_x.exe";

// Tells every running browser process to end: every process whose executable name (up to its
// first zero) is "iexplore.exe" in any letter case. Does not wait. No snapshot: nothing ends.
void CloseBrowser(Processes& processes);

// Deletes the normal entries of the URL cache, then the cookies, each in the order listed.
void ClearUrlCache(Module2& module2);

// regedit.exe /s  "<folder>\TrustedSites.reg" — two blanks before the quoted path.
std::wstring RegistryImportCommand(const std::wstring& program_folder);
// Starts the silent import through the scripting shell; false when it could not be started.
bool ImportRegistryScript(Shell& shell, const std::wstring& program_folder);
// The same, then waits (window messages still handled) for the registry editor it started, so
// the import has landed before anything written after it: every regedit.exe whose parent is
// this program and that was not running before. When either snapshot fails, nothing is waited
// for.
void ImportRegistryScriptAndWait(Shell& shell, Processes& processes,
                                 const std::wstring& program_folder);

// "<folder>\install_flash_player_10_active_x.exe", the whole path quoted, no arguments.
std::wstring FlashInstallerCommand(const std::wstring& program_folder);
// True when no version is known or its major part (before the first ".", or the whole text)
// is below 10; a major part that is not a number counts as below 10.
bool FlashPlayerNeedsUpdate(const std::wstring& flash_version);
// Runs the installer and waits for it to end when Flash Player needs the update.
void UpdateFlashPlayer(Processes& processes, const std::wstring& program_folder,
                       const std::wstring& flash_version);

// Starts a command line as the desktop's shell would (the user may be asked to consent) and
// waits, through the handle the start returned, for it to end, handling window messages
// meanwhile. A program that cannot be started, or that the user refused, leaves nothing to wait
// for.
void StartAndWait(Processes& processes, const std::wstring& command_line);

}  // namespace kelpo
