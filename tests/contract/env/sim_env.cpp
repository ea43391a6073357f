#include "contract/env/processes_env.h"
#include "contract/env/registry_env.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_codec.h"

namespace kelpo::testing {
namespace {
class SimEnv final : public RegistryEnv {
 public:
  Registry& registry() override { return registry_; }
  RawRegistry& raw_registry() override { return registry_; }
  const TextCodec& codec() override { return codec_; }
  const char* name() const override { return "sim"; }

 private:
  Utf8Codec codec_;
  SimRegistry registry_{SimRegistryBehaviour::Wine(), &codec_};
};

// A started program runs until it is waited for: then it has run to its end.
class SimProcessesEnv final : public ProcessesEnv {
 public:
  Processes& processes() override { return processes_; }
  std::wstring StandInCommand(int milliseconds) override {
    return L"\"C:\\Kelpo stand-ins\\kelpo_stand_in.exe\" " + std::to_wstring(milliseconds) +
           L" \"C:\\Kelpo stand-ins\\ran.txt\"";
  }
  bool StandInFinished() override { return processes_.running_count() == 0; }

 private:
  SimProcesses processes_;
};
}  // namespace

std::unique_ptr<RegistryEnv> MakeRegistryEnv() { return std::make_unique<SimEnv>(); }
std::unique_ptr<ProcessesEnv> MakeProcessesEnv() { return std::make_unique<SimProcessesEnv>(); }

}  // namespace kelpo::testing
