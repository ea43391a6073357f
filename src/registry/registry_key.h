#pragma once
// An open registry key, held by the one owner template and closed exactly once; the three ways
// the program opens a key; and the deletion of a whole tree.
#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/unique_resource.h"

namespace kelpo {

// Closes a key through the registry port it was opened through. Without a port the key is
// borrowed (a predefined root, or the parent that the plain open of "" hands back) and is
// never closed.
class KeyCloser {
 public:
  using Handle = HKey;
  static constexpr HKey kNone = 0;
  static bool Owns(HKey key) { return key != 0; }

  KeyCloser() = default;
  explicit KeyCloser(Registry* registry) : registry_(registry) {}
  RegStatus Close(HKey key) { return registry_ != nullptr ? registry_->CloseKey(key) : reg::kSuccess; }

 private:
  Registry* registry_ = nullptr;
};

using RegistryKey = UniqueResource<KeyCloser>;

// The plain open (RegOpenKeyA): the most access the caller is granted. On failure *key is left
// as it was; so for the other two.
[[nodiscard]] RegStatus OpenRegistryKey(Registry& registry, HKey parent, const std::string& path, RegistryKey* key);
// Open for reading only (RegOpenKeyExA with KEY_READ): a user who may only read the key still
// reads it.
[[nodiscard]] RegStatus OpenRegistryKeyToRead(Registry& registry, HKey parent, const std::string& path,
                                              RegistryKey* key);
// Open, or create with every missing key above it (RegCreateKeyA).
[[nodiscard]] RegStatus CreateRegistryKey(Registry& registry, HKey parent, const std::string& path, RegistryKey* key);

// How many subkeys and values an open key has (RegQueryInfoKeyA); none when the registry would
// not say. A walk that knows the count ends on it rather than asking once more to hear that
// there is nothing more.
struct KeyCounts {
  std::uint32_t subkeys = 0;
  std::uint32_t values = 0;
};
[[nodiscard]] std::optional<KeyCounts> CountKeyContents(Registry& registry, HKey key);

// Deletes the key and everything below it, each key's first subkey in turn (RegEnumKeyA).
// kSuccess only when the key itself was deleted; the failed open's status (kFileNotFound: there
// was nothing to delete), or the last deletion's. A subkey that cannot be deleted stops the
// deletion of its parent.
[[nodiscard]] RegStatus DeleteRegistryTree(Registry& registry, HKey parent, const std::string& path);

// A clearing or deletion that left nothing it should have removed: it succeeded, or the key
// was not there.
inline bool NothingLeft(RegStatus status) { return status == reg::kSuccess || status == reg::kFileNotFound; }

}  // namespace kelpo
