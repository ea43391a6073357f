#pragma once
// The backup of what an apply is about to change: a registry script that, imported with
// `regedit /s`, puts every key and value the apply (or the script it imports) touches back as it
// is now. Every line of the backup agrees with the registry as read now, so the lines may come
// in any order; each "[-tree]" is followed by the whole tree as it is.
//
// - A tree the apply deletes or rewrites: "[-tree]", then each of its keys with its values. A
//   tree that is missing: "[-key]" for the highest missing key above it (or itself), since the
//   apply may create it.
// - A single value the apply writes: its key with the value as it is, or "name"=- when it does
//   not exist; a key that does not exist: "[-key]" for its highest missing ancestor.
// - The imported script: each "[-key]" is backed up as a tree, each key it writes and each of
//   its values as above.
// Whatever cannot be read or written is left out and named in the notes; a tree that could not
// be read whole gets no "[-tree]", so importing the backup never deletes what it does not put
// back. One thing regedit cannot put back exactly: a string stored without its terminating zero
// comes back with one (regedit adds it to hex(1), hex(2) and hex(7) data); the notes count them.
#include <string>
#include <vector>

#include "backup/registry_script.h"
#include "platform/raw_registry.h"

namespace kelpo {

struct ValueLocation {
  KeyLocation key;
  std::wstring name;  // "" for the default value
};

struct ApplyChanges {
  std::vector<KeyLocation> replaced_trees;  // deleted or rewritten with every subkey
  std::vector<ValueLocation> written_values;
  RegistryScript imported_script;  // as ReadRegistryScript read it
};

struct Backup {
  RegistryScript script;
  std::vector<std::wstring> notes;  // what the backup cannot put back exactly, a line each, for the log
};

Backup BuildBackup(RawRegistry& registry, const ApplyChanges& changes);

}  // namespace kelpo
