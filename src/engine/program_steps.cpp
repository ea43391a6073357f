#include "engine/program_steps.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/text_rules.h"

namespace kelpo {
namespace {

bool SameNameIgnoringCase(std::string_view name, std::string_view wanted) {
  return name.size() == wanted.size() &&
         std::equal(name.begin(), name.end(), wanted.begin(), [](char a, char b) {
           const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
           return upper(a) == upper(b);
         });
}

std::string_view CutAtZeroByte(const std::string& bytes) {
  return std::string_view(bytes).substr(0, bytes.find('\0'));
}

bool Named(const ProcessEntry& entry, std::string_view exe_name) {
  return SameNameIgnoringCase(CutAtZeroByte(entry.exe_name), exe_name);
}

// The pids of running processes with this executable name; empty when no snapshot is taken.
std::vector<std::uint32_t> PidsNamed(Processes& processes, std::string_view exe_name) {
  std::vector<std::uint32_t> pids;
  const std::optional<std::vector<ProcessEntry>> snapshot = processes.Snapshot();
  if (!snapshot) return pids;
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

// Compares a decimal number, sign and blanks allowed, with 10 without converting it: any
// number of digits is fine.
bool NumberBelowTen(std::wstring_view number) {
  std::wstring trimmed = TrimBlanks(number);
  std::wstring_view digits = trimmed;
  const bool negative = digits.front() == L'-';
  if (digits.front() == L'+' || negative) digits.remove_prefix(1);
  digits.remove_prefix(std::min(digits.find_first_not_of(L'0'), digits.size()));
  if (digits.empty()) return true;  // zero
  return negative || digits.size() == 1;
}

}  // namespace

void CloseBrowser(Processes& processes) {
  for (const std::uint32_t pid : PidsNamed(processes, "iexplore.exe")) processes.Terminate(pid);
}

void ClearUrlCache(Module2& module2) {
  for (const std::uint32_t mask : {cache::kNormalEntry, cache::kCookieEntry})
    for (const std::wstring& url : module2.CollectCacheUrls(mask)) module2.DeleteCacheEntry(url);
}

std::wstring RegistryImportCommand(const std::wstring& program_folder) {
  return L"regedit.exe /s  \"" + program_folder + L"\\" + kRegistryScriptName + L"\"";
}

bool ImportRegistryScript(Shell& shell, const std::wstring& program_folder) {
  return shell.Run(RegistryImportCommand(program_folder));
}

void ImportRegistryScriptAndWait(Shell& shell, Processes& processes,
                                 const std::wstring& program_folder) {
  // The shell hands back no process: the editor is known as one this program started that was
  // not running before. Without both snapshots nothing can be told apart, so nothing is waited
  // for rather than a stranger's editor.
  const auto before = OwnRegistryEditors(processes);
  if (!ImportRegistryScript(shell, program_folder) || !before) return;
  const auto after = OwnRegistryEditors(processes);
  if (!after) return;
  for (const std::uint32_t pid : *after)
    if (std::find(before->begin(), before->end(), pid) == before->end())
      if (const OwnedProcess editor = processes.OpenToWait(pid)) processes.WaitUntilEnded(*editor);
}

std::wstring FlashInstallerCommand(const std::wstring& program_folder) {
  return L"\"" + program_folder + L"\\" + kFlashInstallerName + L"\"";
}

bool FlashPlayerNeedsUpdate(const std::wstring& flash_version) {
  const std::wstring version = TrimBlanks(flash_version);
  if (version.empty()) return true;
  const std::wstring major = version.substr(0, version.find(L'.'));
  return !IsWholeNumber(major) || NumberBelowTen(major);
}

void UpdateFlashPlayer(Processes& processes, const std::wstring& program_folder,
                       const std::wstring& flash_version) {
  if (FlashPlayerNeedsUpdate(flash_version)) StartAndWait(processes, FlashInstallerCommand(program_folder));
}

void StartAndWait(Processes& processes, const std::wstring& command_line) {
  if (const OwnedProcess started = processes.Start(command_line)) processes.WaitUntilEnded(*started);
}

}  // namespace kelpo
