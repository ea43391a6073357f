#pragma once
// The subkeys of a key, one after another in the registry's order, as the program reads them:
// RegEnumKeyExA into a 255-byte name buffer, each name taken up to its first zero. The walk
// ends at the first enumeration call that does not succeed: the end, a name too long for the
// buffer, any failure (status() tells which); or, when the number of subkeys is known, after
// the last of them. Used as
//   for (SubkeyIterator subkey(registry, key); subkey.Valid(); ++subkey) ... subkey.name() ...
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"
#include "registry/registry_key.h"

namespace kelpo {

class SubkeyIterator {
 public:
  // Walks a key the caller holds open; `count`, when known, is how many subkeys it has.
  SubkeyIterator(Registry& registry, HKey key, std::optional<std::uint32_t> count = std::nullopt);
  // Opens root\path with the plain open and walks it; while it walks it holds the key open. A
  // key that cannot be opened has no subkeys.
  SubkeyIterator(Registry& registry, HKey root, const std::string& path);

  // False when the key could not be opened.
  bool opened() const { return opened_; }
  // True while name() is a subkey's.
  bool Valid() const { return status_ == reg::kSuccess; }
  const std::string& name() const { return name_; }
  // The answer of the last enumeration call: kNoMoreItems after the last subkey (also when the
  // count said so).
  RegStatus status() const { return status_; }

  SubkeyIterator& operator++();

 private:
  void Read();

  Registry& registry_;
  RegistryKey owned_;  // the key, when the iterator opened it
  HKey key_ = 0;
  bool opened_ = true;
  std::optional<std::uint32_t> count_;
  std::uint32_t index_ = 0;
  std::string name_;
  RegStatus status_ = reg::kNoMoreItems;
};

}  // namespace kelpo
