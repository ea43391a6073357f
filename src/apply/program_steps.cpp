#include "apply/program_steps.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "apply/companion_files.h"
#include "text/strings.h"

namespace kelpo {
namespace {

bool Named(const ProcessEntry& entry, std::string_view exe_name) {
  return EqualsIgnoringAsciiCase(UpToFirstZero(std::string_view(entry.exe_name)), exe_name);
}

// The pids of running processes with this executable name; nothing when no snapshot is taken.
std::optional<std::vector<std::uint32_t>> PidsNamed(Processes& processes, std::string_view exe_name) {
  std::vector<std::uint32_t> pids;
  const std::optional<std::vector<ProcessEntry>> snapshot = processes.Snapshot();
  if (!snapshot) return std::nullopt;
  for (const ProcessEntry& entry : *snapshot)
    if (Named(entry, exe_name)) pids.push_back(entry.pid);
  return pids;
}

// The registry editors this program started that are running now, in snapshot order; nullopt
// when no snapshot is taken. An editor another program started (one the user opened) is never
// among them.
std::optional<std::vector<std::uint32_t>> OwnRegistryEditors(Processes& processes) {
  const std::optional<std::vector<ProcessEntry>> snapshot = processes.Snapshot();
  if (!snapshot) return std::nullopt;
  std::vector<std::uint32_t> editors;
  for (const ProcessEntry& entry : *snapshot)
    if (entry.parent_pid == processes.OwnPid() && Named(entry, "regedit.exe")) editors.push_back(entry.pid);
  return editors;
}

}  // namespace

bool CloseBrowser(Processes& processes) {
  const std::optional<std::vector<std::uint32_t>> browsers = PidsNamed(processes, "iexplore.exe");
  if (!browsers) return false;
  bool all_ended = true;
  for (const std::uint32_t pid : *browsers) all_ended = processes.Terminate(pid) && all_ended;
  return all_ended;
}

std::wstring RegistryImportCommand(const std::wstring& program_folder) {
  return L"regedit.exe /s  \"" + program_folder + L"\\" + std::wstring(companion::kRegistryScript) + L"\"";
}

bool ImportRegistryScript(Shell& shell, const std::wstring& program_folder) {
  return shell.Run(RegistryImportCommand(program_folder));
}

bool ImportRegistryScriptAndWait(Shell& shell, Processes& processes, const std::wstring& program_folder) {
  // The shell hands back no process: the editor is known as one this program started that was
  // not running before. Without both snapshots nothing can be told apart, so nothing is waited
  // for rather than a stranger's editor.
  const auto before = OwnRegistryEditors(processes);
  if (!ImportRegistryScript(shell, program_folder)) return false;
  if (!before) return true;
  const auto after = OwnRegistryEditors(processes);
  if (!after) return true;
  for (const std::uint32_t pid : *after)
    if (std::find(before->begin(), before->end(), pid) == before->end())
      if (const OwnedProcess editor = processes.OpenToWait(pid)) processes.WaitUntilEnded(*editor);
  return true;
}

std::wstring FlashInstallerCommand(const std::wstring& program_folder) {
  return L"\"" + program_folder + L"\\" + std::wstring(companion::kFlashInstaller) + L"\"";
}

bool StartAndWait(Processes& processes, const std::wstring& command_line) {
  const OwnedProcess started = processes.Start(command_line);
  if (!started) return false;
  processes.WaitUntilEnded(*started);
  return true;
}

}  // namespace kelpo
