#include <windows.h>

#include "e2e/program_run.h"

#include <cstdlib>
#include <fstream>

#include "e2e/ui_driver.h"

namespace e2e {
namespace {

std::filesystem::path FromEnvironment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

const SuitePaths& Paths() {
  static const SuitePaths paths{FromEnvironment(L"KELPO_E2E_EXE"), FromEnvironment(L"KELPO_E2E_FIXTURES"),
                                FromEnvironment(L"KELPO_E2E_WORK"), FromEnvironment(L"KELPO_E2E_SHOTS")};
  return paths;
}

ProgramRun::ProgramRun(const std::wstring& case_name, const std::vector<std::wstring>& fixtures)
    : folder_(Paths().work / case_name) {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
  std::filesystem::create_directories(folder_);
  std::filesystem::copy_file(Paths().kelpo_exe, folder_ / L"kelpo.exe");
  for (const std::wstring& fixture : fixtures) std::filesystem::copy_file(Paths().fixtures / fixture, folder_ / fixture);
}

ProgramRun::~ProgramRun() {
  if (process_ == nullptr) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

void ProgramRun::WriteFile(const std::wstring& name, const std::string& bytes) const {
  std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::wstring ProgramRun::CommandLine(const std::wstring& arguments) const {
  return L"\"" + (folder_ / L"kelpo.exe").wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
}

bool ProgramRun::Start(const std::wstring& arguments) {
  const std::wstring exe = (folder_ / L"kelpo.exe").wstring();
  std::wstring command_line = CommandLine(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                      &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  return true;
}

std::optional<std::uint32_t> ProgramRun::WaitForExit(std::chrono::milliseconds patience) {
  if (process_ == nullptr || WaitForSingleObject(process_, static_cast<DWORD>(patience.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

bool ProgramRun::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void Photograph(HWND window, const std::wstring& name) {
  if (Paths().screenshots.empty() || window == nullptr) return;
  std::filesystem::create_directories(Paths().screenshots);
  Settle(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(300);  // the X server shows what was drawn a moment later
  SaveScreenshot(window, (Paths().screenshots / (name + L".bmp")).wstring());
}

}  // namespace e2e
