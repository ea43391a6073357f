#include "backup/backup_builder.h"

#include <algorithm>

#include "backup/registry_script_writer.h"

namespace kelpo {
namespace {

// Deeper than any registry holds (512 levels): a key that links back to itself ends here.
constexpr int kMaxDepth = 512;

std::wstring Describe(const KeyLocation& key) { return ScriptPathOf(key); }

std::wstring StatusText(RegStatus status) { return L"status " + std::to_wstring(status); }

KeyLocation Below(const KeyLocation& key, const std::wstring& name) {
  return {key.root, key.path.empty() ? name : key.path + L"\\" + name};
}

// A string value whose data does not end in a zero character (regedit adds one on import).
bool StoredWithoutZero(const RawData& data) {
  const bool string_type = data.type == reg::kRegSz || data.type == reg::kRegExpandSz || data.type == reg::kRegMultiSz;
  if (!string_type || data.bytes.empty()) return false;
  const std::size_t size = data.bytes.size();
  return size % 2 != 0 || data.bytes[size - 1] != '\0' || data.bytes[size - 2] != '\0';
}

// A key and the names of the values to back up in it.
struct TouchedKey {
  KeyLocation key;
  std::vector<std::wstring> names;
};

class BackupBuilder {
 public:
  explicit BackupBuilder(RawRegistry& registry) : registry_(registry) {}

  Backup Build(const ApplyChanges& changes) {
    CollectTrees(changes);
    CollectTouchedKeys(changes);
    for (const KeyLocation& tree : trees_) BackUpTree(tree);
    for (const TouchedKey& touched : touched_) BackUpValues(touched);
    NoteStringsWithoutZero();
    return std::move(backup_);
  }

 private:
  bool InsideATree(const KeyLocation& key) const {
    return std::any_of(trees_.begin(), trees_.end(), [&](const KeyLocation& tree) { return IsWithin(key, tree); });
  }

  void CollectTrees(const ApplyChanges& changes) {
    std::vector<KeyLocation> trees = changes.replaced_trees;
    for (const ScriptKey& key : changes.imported_script.keys) {
      const std::optional<KeyLocation> located = LocateKey(key.path);
      // A root cannot be deleted: a script's "[-HKEY_CURRENT_USER]" changes nothing.
      if (key.remove && located && !located->path.empty()) trees.push_back(*located);
    }
    // A tree inside another listed tree is backed up with it.
    for (std::size_t i = 0; i < trees.size(); ++i) {
      bool covered = false;
      for (std::size_t j = 0; j < trees.size() && !covered; ++j)
        covered = j != i && IsWithin(trees[i], trees[j]) && (!IsWithin(trees[j], trees[i]) || j < i);
      if (!covered) trees_.push_back(trees[i]);
    }
  }

  void Touch(const KeyLocation& key, const std::wstring* name) {
    if (InsideATree(key)) return;
    auto found = std::find_if(touched_.begin(), touched_.end(), [&](const TouchedKey& touched) {
      return IsWithin(touched.key, key) && IsWithin(key, touched.key);
    });
    if (found == touched_.end()) found = touched_.insert(touched_.end(), TouchedKey{key, {}});
    if (name != nullptr) found->names.push_back(*name);
  }

  void CollectTouchedKeys(const ApplyChanges& changes) {
    for (const ValueLocation& value : changes.written_values) Touch(value.key, &value.name);
    for (const ScriptKey& key : changes.imported_script.keys) {
      const std::optional<KeyLocation> located = LocateKey(key.path);
      if (key.remove || !located) continue;
      Touch(*located, nullptr);
      for (const ScriptValue& value : key.values) Touch(*located, &value.name);
    }
  }

  void Note(std::wstring text) { backup_.notes.push_back(std::move(text)); }

  void NoteStringsWithoutZero() {
    std::size_t count = 0;
    for (const ScriptKey& section : backup_.script.keys)
      for (const ScriptValue& value : section.values) count += value.data && StoredWithoutZero(*value.data);
    if (count > 0)
      Note(std::to_wstring(count) + L" string value(s) stored without a terminating zero come back with one");
  }

  void AddSection(ScriptKey section) { backup_.script.keys.push_back(std::move(section)); }

  // "[-key]" for the highest missing key at or above `key`, once. False when the search failed.
  void RemoveHighestMissing(const KeyLocation& key) {
    KeyLocation prefix{key.root, L""};
    for (const std::wstring& part : PathParts(key.path)) {
      prefix = Below(prefix, part);
      const RegStatus status = registry_.ProbeKey(prefix.root, prefix.path);
      if (status == reg::kSuccess) continue;
      if (status != reg::kFileNotFound) {
        Note(L"cannot tell whether " + Describe(prefix) + L" exists (" + StatusText(status) + L")");
        return;
      }
      const std::wstring path = ScriptPathOf(prefix);
      const bool listed = std::any_of(backup_.script.keys.begin(), backup_.script.keys.end(),
                                      [&](const ScriptKey& section) { return section.remove && section.path == path; });
      if (!listed) AddSection({path, true, {}});
      return;
    }
  }

  // The key and everything below it, in order, parents first; false when some of it could not
  // be read or written.
  bool ReadTree(const KeyLocation& key, int depth, std::vector<ScriptKey>* sections) {
    RawKey read;
    const RegStatus status = registry_.ReadKey(key.root, key.path, &read);
    if (status == reg::kFileNotFound && depth > 0) return true;  // gone since its parent was read
    if (status != reg::kSuccess) {
      Note(L"cannot read " + Describe(key) + L" (" + StatusText(status) + L")");
      return false;
    }
    if (!CanWriteName(key.path)) {
      Note(L"a key name a registry script cannot hold, below " + Describe({key.root, L""}));
      return false;
    }
    ScriptKey section{ScriptPathOf(key), false, {}};
    bool whole = true;
    for (RawValue& value : read.values) {
      if (!CanWriteName(value.name)) {
        Note(L"a value name a registry script cannot hold, in " + Describe(key));
        whole = false;
        continue;
      }
      section.values.push_back({std::move(value.name), false, std::move(value.data)});
    }
    sections->push_back(std::move(section));
    if (depth >= kMaxDepth) {
      Note(L"keys nested too deep below " + Describe(key));
      return false;
    }
    for (const std::wstring& name : read.subkeys) whole = ReadTree(Below(key, name), depth + 1, sections) && whole;
    return whole;
  }

  void BackUpTree(const KeyLocation& tree) {
    const RegStatus status = registry_.ProbeKey(tree.root, tree.path);
    if (status == reg::kFileNotFound) return RemoveHighestMissing(tree);
    std::vector<ScriptKey> sections;
    const bool whole = ReadTree(tree, 0, &sections);
    if (whole) AddSection({ScriptPathOf(tree), true, {}});
    for (ScriptKey& section : sections) AddSection(std::move(section));
  }

  void BackUpValues(const TouchedKey& touched) {
    const RegStatus status = registry_.ProbeKey(touched.key.root, touched.key.path);
    if (status == reg::kFileNotFound) return RemoveHighestMissing(touched.key);
    if (status != reg::kSuccess) {
      Note(L"cannot read " + Describe(touched.key) + L" (" + StatusText(status) + L")");
      return;
    }
    ScriptKey section{ScriptPathOf(touched.key), false, {}};
    for (const std::wstring& name : touched.names) {
      const bool listed = std::any_of(section.values.begin(), section.values.end(),
                                      [&](const ScriptValue& value) { return value.name == name; });
      if (listed) continue;
      RawValue value;
      const RegStatus read = registry_.ReadValue(touched.key.root, touched.key.path, name, &value);
      if (read == reg::kSuccess && CanWriteName(name)) {
        section.values.push_back({name, false, std::move(value.data)});
      } else if (read == reg::kFileNotFound && CanWriteName(name)) {
        section.values.push_back({name, true, std::nullopt});
      } else {
        Note(L"cannot back up a value of " + Describe(touched.key) + L" (" + StatusText(read) + L")");
      }
    }
    if (!section.values.empty()) AddSection(std::move(section));  // an existing key needs no line
  }

  RawRegistry& registry_;
  std::vector<KeyLocation> trees_;
  std::vector<TouchedKey> touched_;
  Backup backup_;
};

}  // namespace

Backup BuildBackup(RawRegistry& registry, const ApplyChanges& changes) {
  return BackupBuilder(registry).Build(changes);
}

}  // namespace kelpo
