// Any registry script, in either encoding: the reader ends, and whatever it read that a script
// can say is written and read back the same.
#include "backup/registry_script_reader.h"
#include "backup/registry_script_writer.h"
#include "fuzz_rig.h"

namespace kelpo::fuzz {
namespace {

// What the writer can write of a script: keys and names without line breaks or zeros, and
// values that remove or whose data was read.
RegistryScript Writable(const RegistryScript& script) {
  RegistryScript writable;
  for (const ScriptKey& key : script.keys) {
    if (!CanWriteName(key.path)) continue;
    ScriptKey kept{key.path, key.remove, {}};
    for (const ScriptValue& value : key.values)
      if (!key.remove && CanWriteName(value.name) && (value.remove || value.data)) kept.values.push_back(value);
    writable.keys.push_back(std::move(kept));
  }
  return writable;
}

}  // namespace
}  // namespace kelpo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  static const Utf8Codec codec;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ReadScript read = ReadRegistryScript(bytes, codec);
  const RegistryScript writable = fuzz::Writable(read.script);
  const ReadScript again = ReadRegistryScript(EncodeRegistryScript(writable), codec);
  fuzz::Require(again.format == ScriptFormat::kVersion5);
  fuzz::Require(again.script == writable);
  return 0;
}
