#pragma once
// The registry a contract test runs against: the in-memory one, or the real one with
// HKEY_CURRENT_USER redirected to a scratch key, so a run never touches the user's own keys.
#include <memory>
#include <string>

#include "platform/raw_registry.h"
#include "platform/registry.h"
#include "platform/text_codec.h"

namespace kelpo::testing {

class RegistryEnv {
 public:
  virtual ~RegistryEnv() = default;
  virtual Registry& registry() = 0;
  // The same registry through the wide calls, as stored.
  virtual RawRegistry& raw_registry() = 0;
  virtual const TextCodec& codec() = 0;
  virtual const char* name() const = 0;
};

// One per test; its destructor removes everything the test wrote.
std::unique_ptr<RegistryEnv> MakeRegistryEnv();

}  // namespace kelpo::testing
