#pragma once
// The registry as it is stored, for copying it faithfully: names as wide text, each value's
// type and its data bytes exactly as kept (strings are UTF-16LE there, with their terminating
// zero only if one was stored). Read-only. Key paths are wide text below a predefined root;
// names compare as the registry compares them (without regard to case).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kelpo {

namespace reg {
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegQword = 11;
}  // namespace reg

struct RawData {
  std::uint32_t type = 0;
  std::string bytes;  // exactly as stored

  friend bool operator==(const RawData&, const RawData&) = default;
};

struct RawValue {
  std::wstring name;  // empty: the key's default value
  RawData data;

  friend bool operator==(const RawValue&, const RawValue&) = default;
};

struct RawKey {
  std::vector<std::wstring> subkeys;  // names of the direct subkeys, as the registry lists them
  std::vector<RawValue> values;       // in the registry's order

  friend bool operator==(const RawKey&, const RawKey&) = default;
};

class RawRegistry {
 public:
  RawRegistry() = default;
  RawRegistry(const RawRegistry&) = delete;
  RawRegistry& operator=(const RawRegistry&) = delete;
  virtual ~RawRegistry() = default;

  // Whether the key exists: kSuccess, kFileNotFound when it (or a key above it) is missing, or
  // the status of the failure (5 for a key that may not be read).
  [[nodiscard]] virtual RegStatus ProbeKey(HKey root, const std::wstring& path) = 0;
  // The key's subkey names and values. kFileNotFound when the key is missing; any other failure
  // gives its status. On failure *key is left untouched: a key is read whole or not at all.
  [[nodiscard]] virtual RegStatus ReadKey(HKey root, const std::wstring& path, RawKey* key) = 0;
  // One value of the key ("" is the default value), named as asked. kFileNotFound when the key
  // or the value is missing (ProbeKey tells which). On failure *value is left untouched.
  [[nodiscard]] virtual RegStatus ReadValue(HKey root, const std::wstring& path,
                                            const std::wstring& name, RawValue* value) = 0;
};

}  // namespace kelpo
