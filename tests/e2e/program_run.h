#pragma once
// One run of kelpo.exe in a program folder of its own, made from the fixtures the case asks
// for. Include only after <windows.h>.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Where the suite finds what it copies into program folders, and where it writes.
struct SuitePaths {
  std::filesystem::path kelpo_exe;      // the program under test
  std::filesystem::path fixtures;       // TrustedSites.reg, Kelpo.ini, the stand-in installer
  std::filesystem::path work;           // program folders and records of the runs
  std::filesystem::path screenshots;    // empty: take none
};
// From the environment: KELPO_E2E_EXE, KELPO_E2E_FIXTURES, KELPO_E2E_WORK, KELPO_E2E_SHOTS.
const SuitePaths& Paths();

inline constexpr wchar_t kTrustedSites[] = L"TrustedSites.reg";
inline constexpr wchar_t kInstaller[] = L"install_flash_player_10_active_x.exe";
inline constexpr wchar_t kSetupFile[] = L"Kelpo.ini";
// What the stand-in installer writes beside itself when it runs.
inline constexpr wchar_t kInstallerRecord[] = L"stand-in-installer-ran.txt";
// While this file lies beside the stand-in installer, the installer keeps running.
inline constexpr wchar_t kInstallerHold[] = L"stand-in-installer-hold.txt";

class ProgramRun {
 public:
  // A fresh program folder named after the case, holding kelpo.exe and the named fixtures.
  ProgramRun(const std::wstring& case_name, const std::vector<std::wstring>& fixtures);
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  // Ends the program if it still runs.
  ~ProgramRun();

  const std::filesystem::path& folder() const { return folder_; }
  // Writes a file of the program folder (bytes as given: the set-up file's line ends matter).
  void WriteFile(const std::wstring& name, const std::string& bytes) const;

  // The command line that starts this folder's kelpo.exe with the arguments.
  std::wstring CommandLine(const std::wstring& arguments = {}) const;
  // Starts kelpo.exe with the arguments (none: as a user starts it). It gets no standard
  // handles, as a program Explorer starts. False when it could not be started.
  bool Start(const std::wstring& arguments = {});
  std::uint32_t pid() const { return pid_; }
  // Waits for the program to end; its exit code, or none when it still runs.
  std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds patience);
  bool Running() const;

 private:
  std::filesystem::path folder_;
  HANDLE process_ = nullptr;
  std::uint32_t pid_ = 0;
};

// Saves a photograph of the window as <screenshots>/<name>.bmp when screenshots are asked for.
void Photograph(HWND window, const std::wstring& name);

}  // namespace e2e
