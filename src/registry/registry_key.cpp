#include "registry/registry_key.h"

#include <array>

namespace kelpo {
namespace {

constexpr std::uint32_t kDeleteNameBuffer = 256;

// A predefined root, or the parent handed back unchanged, belongs to no one here.
RegistryKey Held(Registry& registry, HKey key, bool borrowed) {
  return RegistryKey(key, KeyCloser(borrowed || reg::IsPredefined(key) ? nullptr : &registry));
}

}  // namespace

RegStatus OpenRegistryKey(Registry& registry, HKey parent, const std::string& path, RegistryKey* key) {
  HKey opened = 0;
  const RegStatus status = registry.OpenKey(parent, path, &opened);
  if (status == reg::kSuccess) *key = Held(registry, opened, opened == parent);
  return status;
}

RegStatus OpenRegistryKeyToRead(Registry& registry, HKey parent, const std::string& path, RegistryKey* key) {
  HKey opened = 0;
  const RegStatus status = registry.OpenKeyEx(parent, path, reg::kKeyRead, &opened);
  if (status == reg::kSuccess) *key = Held(registry, opened, false);
  return status;
}

RegStatus CreateRegistryKey(Registry& registry, HKey parent, const std::string& path, RegistryKey* key) {
  HKey opened = 0;
  const RegStatus status = registry.CreateKey(parent, path, &opened);
  if (status == reg::kSuccess) *key = Held(registry, opened, false);
  return status;
}

std::optional<KeyCounts> CountKeyContents(Registry& registry, HKey key) {
  KeyCounts counts;
  if (registry.QueryInfoKey(key, &counts.subkeys, &counts.values) != reg::kSuccess) return std::nullopt;
  return counts;
}

RegStatus DeleteRegistryTree(Registry& registry, HKey parent, const std::string& path) {
  RegistryKey key;
  if (const RegStatus opened = OpenRegistryKey(registry, parent, path, &key); opened != reg::kSuccess) return opened;
  // A key without subkeys goes at once; otherwise its subkeys go first, one at a time.
  RegStatus last = registry.DeleteKey(key.get(), "");
  if (last != reg::kSuccess) {
    for (;;) {
      std::array<char, kDeleteNameBuffer> name{};
      if (registry.EnumKey(key.get(), 0, name.data(), kDeleteNameBuffer) != reg::kSuccess) break;
      if (DeleteRegistryTree(registry, key.get(), name.data()) != reg::kSuccess) break;
    }
    last = registry.DeleteKey(key.get(), "");
  }
  return last;
}

}  // namespace kelpo
