#include "contract/env/registry_env.h"
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
}  // namespace

std::unique_ptr<RegistryEnv> MakeRegistryEnv() { return std::make_unique<SimEnv>(); }

}  // namespace kelpo::testing
