#pragma once
// Every registry value the program writes goes through one rule table that decides, from a
// setting name alone, which value is written with which type and data. The callers name a key
// and a setting, never data; the entry points below name what the caller means, and each goes
// through the same table, overlaps included (a setting "http*" writes 0, then 2).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "registry/registry_key.h"

namespace kelpo {

class PolicyWriter {
 public:
  PolicyWriter(Registry& registry, const TextCodec& codec, Desktop& desktop)
      : registry_(registry), codec_(codec), desktop_(desktop) {}
  explicit PolicyWriter(const Platform& platform) : PolicyWriter(platform.registry, platform.codec, platform.desktop) {}
  PolicyWriter(const PolicyWriter&) = delete;
  PolicyWriter& operator=(const PolicyWriter&) = delete;

  // Opens root\key_path, creating it when missing, and writes what the setting calls for:
  // a row of the policy table when the name is one; otherwise each rule that matches, in
  // order: an "*" anywhere gives a DWORD 0 named by the setting; a leading "http" a DWORD 2
  // (Trusted sites); four whole numbers joined by "." the value ":Range" (at most 15 bytes);
  // a leading "|" the value "PopupBlockerWhitelist" (at most 10,000 bytes). A key that cannot
  // be created gets nothing and nothing is shown; a run-time error is trapped and shown in the
  // "GenUtils/GetRegEntry" box.
  void Write(HKey root, std::wstring_view key_path, std::wstring_view setting);

  // From here to the matching CloseHeldKeys, the keys used stay open: many values written to
  // one key, or to new keys below one key, open it once, and a new key is created below its
  // parent, a key at a time. What is written stays what opening each key from the root would
  // write: a held key found deleted meanwhile is let go, and that write opens its key from the
  // root again. A setting that writes no value, and a path the registry would refuse whole,
  // still go the way of a single write. Holds nest.
  void HoldKeysOpen() { ++hold_depth_; }
  // Ends a hold: the outermost closes every key held; a run-time error while closing is trapped
  // and shown as a write's would be.
  void CloseHeldKeys() noexcept;

  // --- What the program writes, all below HKEY_CURRENT_USER. ---

  // A browser option that the table knows by its value name ("PopupMgr", "Flags", "120B", ...).
  void WriteOption(std::wstring_view key_path, std::wstring_view option) { WriteUser(key_path, option); }
  // A zone-map entry's scheme value ("http", "https", or "*" for every scheme): Trusted sites.
  void WriteZoneScheme(std::wstring_view key_path, std::wstring_view scheme_word) { WriteUser(key_path, scheme_word); }
  // A range key's address.
  void WriteRangeAddress(std::wstring_view key_path, std::wstring_view address) { WriteUser(key_path, address); }
  // A host pattern ("*example.com*") of the Baidu toolbar's white-list.
  void WriteBaiduPattern(std::wstring_view pattern);
  // The Google Toolbar's pop-up white-list ("|a|b|"), replacing it as a whole.
  void WriteGoogleWhitelist(std::wstring_view list);
  // An add-on switched off in its settings key: "Flags" 1, then "Version" "*".
  void DisableAddOn(std::wstring_view settings_key);

 private:
  // One value a setting calls for.
  struct Value {
    std::string name;  // ANSI
    std::uint32_t type;
    std::string data;
  };
  // A key held open, by its root and its path (each key named once), and the path a write
  // named it by, when one did.
  struct HeldKey {
    HKey root;
    std::string path;
    std::wstring given;
    RegistryKey key;
    std::uint64_t last_used;
  };

  void WriteUser(std::wstring_view key_path, std::wstring_view setting) { Write(reg::kCurrentUser, key_path, setting); }
  std::vector<Value> ValuesFor(std::wstring_view setting) const;
  RegStatus Set(HKey key, const Value& value);
  // Creates the key from the root, writes the values, closes it.
  void WriteOpeningFromRoot(HKey root, const std::string& path, const std::vector<Value>& values);
  void WriteHeld(HKey root, std::wstring_view key_path, const std::vector<Value>& values);
  // The open key at root\path, created a key at a time from the nearest held key above it (or
  // from its parent, opened from the root), each key on the way held. 0 when a key on the way
  // cannot be created; *status is then kKeyDeleted when the held key it began from had been
  // deleted.
  HKey OpenBelowHeld(HKey root, const std::string& path, RegStatus* status);
  // The held key a write named by exactly this path; null when none.
  HeldKey* FindHeldAsGiven(HKey root, std::wstring_view key_path);
  // The held key at root\path; null when none.
  HeldKey* FindHeld(HKey root, const std::string& path);
  // The nearest held key above root\path; null when none.
  HeldKey* FindHeldAbove(HKey root, const std::string& path);
  // Makes it the key used last.
  HeldKey& MarkUsed(HeldKey& held);
  HKey Hold(HKey root, std::string path, RegistryKey key);
  // Closes a held key that is of no more use.
  void LetGo(HeldKey& held);
  // Closes the keys used longest ago beyond the number held.
  void CloseLeastRecentlyUsed();

  Registry& registry_;
  const TextCodec& codec_;
  Desktop& desktop_;
  int hold_depth_ = 0;
  std::vector<HeldKey> held_;
  std::uint64_t uses_ = 0;  // counts the uses of held keys, to tell which was used longest ago
};

}  // namespace kelpo
