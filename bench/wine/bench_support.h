#pragma once
// What the Wine benchmarks share: clocks, a desktop that answers for the user, running a program
// to its end, and the zone-map keys as a registry script. Include only after <windows.h>.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/win32/win32_desktop.h"

namespace kelpo::bench {

// Wall time from the performance counter.
class Stopwatch {
 public:
  Stopwatch();
  double Seconds() const;

 private:
  std::int64_t start_;
};

// User plus kernel time this process has used so far, in seconds.
double ProcessCpuSeconds();

// The message boxes are answered Yes without being shown; every other call goes to the real
// desktop. Counts the questions, so a run can check that the apply asked once.
class AnsweringDesktop final : public Desktop {
 public:
  int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void HandlePendingMessages() override { real_.HandlePendingMessages(); }
  void EndProgram() override {}
  int questions() const { return questions_; }

 private:
  Win32Desktop real_;
  int questions_ = 0;
};

// Starts the command line without a window and waits for it; false when it could not start or
// ended with a code other than 0.
bool RunToEnd(const std::wstring& command_line);

// The keys the apply writes the sites to, below HKEY_CURRENT_USER.
std::vector<std::wstring> SiteKeyPaths();

// Writes the keys, their subkeys and their values as a REGEDIT4 script, as the program's own
// 32-bit view of the registry holds them. False when the file cannot be written.
bool ExportAsRegistryScript(const std::vector<std::wstring>& key_paths, const std::wstring& file);

// Deletes each key with everything below it (in both registry views).
void DeleteKeyTrees(const std::vector<std::wstring>& key_paths);

// Writes `bytes` to the file, replacing it; false when it cannot be written.
bool WriteFileBytes(const std::wstring& file, const std::string& bytes);

// The median of the values (the upper one of an even count).
double Median(std::vector<double> values);

}  // namespace kelpo::bench
