#pragma once
// The steps that deal with other programs rather than registry values: ending the browser,
// importing the registry script, running the Flash Player installer.
#include <string>

#include "platform/processes.h"
#include "platform/shell.h"

namespace kelpo {

// Tells every running browser process to end: every process whose executable name (up to its
// first zero) is "iexplore.exe" in any letter case. Does not wait. False when no snapshot could
// be taken (nothing ends) or a browser process would not end.
[[nodiscard]] bool CloseBrowser(Processes& processes);

// regedit.exe /s  "<folder>\TrustedSites.reg" — two blanks before the quoted path.
std::wstring RegistryImportCommand(const std::wstring& program_folder);
// Starts the silent import through the scripting shell; false when it could not be started.
[[nodiscard]] bool ImportRegistryScript(Shell& shell, const std::wstring& program_folder);
// The same, then waits (window messages still handled) for the registry editor it started, so
// the import has landed before anything written after it: every regedit.exe whose parent is
// this program and that was not running before. When either snapshot fails, nothing is waited
// for. False when the import could not be started.
[[nodiscard]] bool ImportRegistryScriptAndWait(Shell& shell, Processes& processes, const std::wstring& program_folder);

// "<folder>\install_flash_player_10_active_x.exe", the whole path quoted, no arguments.
std::wstring FlashInstallerCommand(const std::wstring& program_folder);

// Starts a command line as the desktop's shell would (the user may be asked to consent) and
// waits, through the handle the start returned, for it to end, handling window messages
// meanwhile. A program that cannot be started, or that the user refused, leaves nothing to wait
// for: false.
[[nodiscard]] bool StartAndWait(Processes& processes, const std::wstring& command_line);

}  // namespace kelpo
