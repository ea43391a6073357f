#pragma once
// A registry script as regedit reads and writes it: key sections in order, each either a key
// to delete with all its subkeys ("[-key]") or a key to create with values to write or delete.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/raw_registry.h"
#include "platform/registry.h"

namespace kelpo {

struct ScriptValue {
  std::wstring name;            // empty: the key's default value ("@")
  bool remove = false;          // "name"=-
  std::optional<RawData> data;  // what it writes; unset when removing, or when unreadable

  friend bool operator==(const ScriptValue&, const ScriptValue&) = default;
};

struct ScriptKey {
  std::wstring path;  // as written between the brackets: root name, "\", the path below it
  bool remove = false;
  std::vector<ScriptValue> values;  // none for a key that is removed

  friend bool operator==(const ScriptKey&, const ScriptKey&) = default;
};

struct RegistryScript {
  std::vector<ScriptKey> keys;

  friend bool operator==(const RegistryScript&, const RegistryScript&) = default;
};

// A key as the registry calls address it: a predefined root and the path below it, its parts
// joined by single backslashes ("" for the root itself).
struct KeyLocation {
  HKey root = 0;
  std::wstring path;

  friend bool operator==(const KeyLocation&, const KeyLocation&) = default;
};

// The key a script names: the root by its full name ("HKEY_CURRENT_USER") or its short one
// ("HKCU"), either case; empty parts (doubled or trailing backslashes) dropped. Nothing for a
// root the registry does not have.
std::optional<KeyLocation> LocateKey(std::wstring_view script_path);
// The path a script writes for the key: the root's full name and the path below it.
std::wstring ScriptPathOf(const KeyLocation& key);

// The parts of a path below its root, in order.
std::vector<std::wstring> PathParts(std::wstring_view path);
// True when `inner` is `outer` or lies below it; names compare without regard to ASCII case.
bool IsWithin(const KeyLocation& inner, const KeyLocation& outer);

}  // namespace kelpo
