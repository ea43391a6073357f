#pragma once
// Every registry value the program writes goes through one rule table that decides, from a
// setting name alone, which value is written with which type and data. The callers name a key
// and a setting, never data; the entry points below name what the caller means, and each goes
// through the same table, overlaps included (a setting "http*" writes 0, then 2).
#include <string_view>

#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text_codec.h"

namespace kelpo {

class PolicyWriter {
 public:
  PolicyWriter(Registry& registry, const TextCodec& codec, Desktop& desktop)
      : registry_(registry), codec_(codec), desktop_(desktop) {}
  explicit PolicyWriter(const Platform& platform) : PolicyWriter(platform.registry, platform.codec, platform.desktop) {}

  // Opens root\key_path, creating it when missing, and writes what the setting calls for:
  // a row of the policy table when the name is one; otherwise each rule that matches, in
  // order: an "*" anywhere gives a DWORD 0 named by the setting; a leading "http" a DWORD 2
  // (Trusted sites); four whole numbers joined by "." the value ":Range" (at most 15 bytes);
  // a leading "|" the value "PopupBlockerWhitelist" (at most 10,000 bytes). A key that cannot
  // be created gets nothing and nothing is shown; a run-time error is trapped and shown in the
  // "GenUtils/GetRegEntry" box.
  void Write(HKey root, std::wstring_view key_path, std::wstring_view setting);

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
  void WriteUser(std::wstring_view key_path, std::wstring_view setting) { Write(reg::kCurrentUser, key_path, setting); }
  void WriteRules(HKey key, std::wstring_view setting);
  void WriteDword(HKey key, std::wstring_view name, std::uint32_t data);
  void WriteText(HKey key, std::wstring_view name, std::wstring_view text, std::size_t byte_limit);

  Registry& registry_;
  const TextCodec& codec_;
  Desktop& desktop_;
};

}  // namespace kelpo
