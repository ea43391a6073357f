#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "contract/env/processes_env.h"
#include "contract/env/registry_env.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_raw_registry.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text_codec.h"

namespace kelpo::testing {
namespace {

// A suite whose redirection did not take would write into the prefix's own HKEY_CURRENT_USER:
// it stops before its next test instead.
[[noreturn]] void StopSuite(const char* what, LONG status) {
  std::fprintf(stderr,
               "The contract suite stops: %s failed (status %ld), so HKEY_CURRENT_USER is not "
               "redirected to a scratch key and a test would write into the real one.\n",
               what, static_cast<long>(status));
  std::fflush(stderr);
  std::_Exit(1);
}

// True when a key created through HKEY_CURRENT_USER lands below `scratch`.
bool RedirectionTook(HKEY scratch) {
  constexpr const char* kProbe = "KelpoRedirectionProbe";
  HKEY made = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProbe, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(made);
  HKEY seen = nullptr;
  const bool landed = RegOpenKeyExA(scratch, kProbe, 0, KEY_READ, &seen) == ERROR_SUCCESS;
  if (landed) RegCloseKey(seen);
  RegDeleteKeyA(HKEY_CURRENT_USER, kProbe);
  return landed;
}

// HKEY_CURRENT_USER is redirected to a fresh scratch key for the life of the environment.
class Win32Env final : public RegistryEnv {
 public:
  Win32Env() {
    scratch_path_ = "Software\\KelpoContractScratch\\" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_path_.c_str());
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, scratch_path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &scratch_, nullptr);
    if (status != ERROR_SUCCESS) StopSuite("creating the scratch key", status);
    status = RegOverridePredefKey(HKEY_CURRENT_USER, scratch_);
    if (status != ERROR_SUCCESS) StopSuite("RegOverridePredefKey", status);
    if (!RedirectionTook(scratch_)) StopSuite("checking that a key written to HKEY_CURRENT_USER lands in the scratch key", 0);
  }
  ~Win32Env() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratch_);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_path_.c_str());
  }
  Registry& registry() override { return registry_; }
  RawRegistry& raw_registry() override { return raw_registry_; }
  const TextCodec& codec() override { return codec_; }
  const char* name() const override { return "win32"; }

 private:
  std::string scratch_path_;
  HKEY scratch_ = nullptr;
  Win32Registry registry_;
  Win32RawRegistry raw_registry_;
  Win32TextCodec codec_;
};

// Proves the redirection once before the first test, so a suite that cannot isolate itself
// runs none.
class RedirectionCheck final : public ::testing::Environment {
 public:
  void SetUp() override { Win32Env check; }
};
[[maybe_unused]] ::testing::Environment* const kRedirectionCheck =
    ::testing::AddGlobalTestEnvironment(new RedirectionCheck);


std::wstring FolderOfThisProgram() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return exe.substr(0, exe.find_last_of(L'\\'));
}

// The stand-in built beside this test, copied into a fresh folder with a blank in its name, so
// the start has to take the quoted path apart.
class Win32ProcessesEnv final : public ProcessesEnv {
 public:
  Win32ProcessesEnv() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"kelpo stand-in " + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++made_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    program_ = folder_ + L"\\" + std::wstring(kStandInName, kStandInName + sizeof kStandInName - 1);
    mark_ = folder_ + L"\\ran.txt";
    CopyFileW((FolderOfThisProgram() + L"\\kelpo_stand_in.exe").c_str(), program_.c_str(), FALSE);
  }
  ~Win32ProcessesEnv() override {
    for (int tries = 0; tries < 50 && !DeleteFileW(program_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND; ++tries)
      Sleep(100);  // a stand-in that has just ended may still hold its file for a moment
    DeleteFileW(mark_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  Processes& processes() override { return processes_; }
  std::wstring StandInCommand(int milliseconds) override {
    return L"\"" + program_ + L"\" " + std::to_wstring(milliseconds) + L" \"" + mark_ + L"\"";
  }
  bool StandInFinished() override { return GetFileAttributesW(mark_.c_str()) != INVALID_FILE_ATTRIBUTES; }

 private:
  static inline int made_ = 0;
  std::wstring folder_;
  std::wstring program_;
  std::wstring mark_;
  Win32Processes processes_;
};

}  // namespace

std::unique_ptr<RegistryEnv> MakeRegistryEnv() { return std::make_unique<Win32Env>(); }
std::unique_ptr<ProcessesEnv> MakeProcessesEnv() { return std::make_unique<Win32ProcessesEnv>(); }

}  // namespace kelpo::testing
