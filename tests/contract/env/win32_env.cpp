#include <windows.h>

#include <string>

#include "contract/env/registry_env.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text_codec.h"

namespace kelpo::testing {
namespace {

// HKEY_CURRENT_USER is redirected to a fresh scratch key for the life of the environment.
class Win32Env final : public RegistryEnv {
 public:
  Win32Env() {
    scratch_path_ = "Software\\KelpoContractScratch\\" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_path_.c_str());
    RegCreateKeyExA(HKEY_CURRENT_USER, scratch_path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &scratch_, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, scratch_);
  }
  ~Win32Env() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratch_);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_path_.c_str());
  }
  Registry& registry() override { return registry_; }
  const TextCodec& codec() override { return codec_; }
  const char* name() const override { return "win32"; }

 private:
  std::string scratch_path_;
  HKEY scratch_ = nullptr;
  Win32Registry registry_;
  Win32TextCodec codec_;
};
}  // namespace

std::unique_ptr<RegistryEnv> MakeRegistryEnv() { return std::make_unique<Win32Env>(); }

}  // namespace kelpo::testing
