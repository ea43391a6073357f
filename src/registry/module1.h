#pragma once
// The program's registry procedures: every value the windows read or write goes through here.
// Keys are addressed by a root-key name ("HKEY_CURRENT_USER") or a predefined root handle plus
// a path; results come back as text.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text_codec.h"

namespace kelpo {

// What QueryRegValueData read: nothing, a string, or a 32-bit number.
using RegData = std::variant<std::monostate, std::wstring, std::int32_t>;

// The predefined root for one of the seven root-key names, compared exactly.
std::optional<HKey> RootHandleOf(const std::wstring& root_name);

// The text before its first zero character (the whole text when it holds none).
std::wstring CutAtZero(const std::wstring& text);

// True when the text splits at "." into exactly four parts that are each a decimal number
// (digits, an optional sign, blanks around). The zone-map writer passes only such addresses.
bool IsFourPartNumber(const std::wstring& text);

// The text with its Latin letters in upper case; other characters unchanged.
std::wstring AsciiUpper(std::wstring text);

// A name that marks a browser add-on as a toolbar: "工具栏", or "TOOLBAR" in any letter case.
bool IsToolbarName(const std::wstring& name);

// One value of a key as the program's fixed 255-byte enumeration buffers see it.
struct ListedValue {
  std::string name;  // ANSI, up to its first zero
  std::uint32_t type = 0;
  std::string data;  // the bytes as far as the buffer holds them
  bool whole = false;  // the enumeration call succeeded: name, type and data are all there

  // A REG_DWORD holding `number`.
  bool HoldsDword(std::uint32_t number) const;
};

// Every value of an open key, in enumeration order. Stops at the first call that fails other
// than for a data buffer too small; that value is still listed.
std::vector<ListedValue> ListValues(Registry& registry, HKey key);

inline constexpr const wchar_t* kErrorBoxTitle = L"GenUtils/GetRegEntry";

class Module1 {
 public:
  Module1(Registry& registry, const TextCodec& codec, Desktop& desktop)
      : registry_(registry), codec_(codec), desktop_(desktop) {}
  explicit Module1(const Platform& platform)
      : Module1(platform.registry, platform.codec, platform.desktop) {}

  // The value's data exactly as stored, zero bytes included; value_type becomes its registry
  // type (-1 when closing fails or an error was trapped). Empty text when nothing is read.
  std::wstring GetRegEntry(const std::wstring& root_name, const std::wstring& key_path,
                           const std::wstring& value_name, std::int32_t& value_type);
  // A string up to its first zero (all of it when stored without one), a DWORD as signed
  // decimal digits, otherwise empty.
  std::wstring ReadRegValue(HKey root, const std::wstring& key_path, const std::wstring& value_name);
  // 0, the failed query's code, or -1 for a type other than REG_SZ / REG_DWORD.
  RegStatus QueryRegValueData(HKey key, const std::wstring& value_name, RegData& data);
  // True when the key opens for reading; true for an unrecognised root name.
  bool RegKeyExists(const std::wstring& root_name, const std::wstring& key_path);
  // True only when opening the key for reading says it does not exist; a key that cannot be
  // looked at for any other reason is not missing. False for an unrecognised root name.
  bool RegKeyMissing(const std::wstring& root_name, const std::wstring& key_path);
  // The name of the last value the key enumerates; empty when none.
  std::wstring GetRegValueName(const std::wstring& root_name, const std::wstring& key_path);
  // Writes what the setting name calls for (policy table, then the pattern rules).
  void SetRegEntry(const std::wstring& root_name, const std::wstring& key_path,
                   const std::wstring& setting_name);
  // "GetData": the last value text carrying a toolbar name. "Ranges": the last value name other
  // than ":Range". Empty when nothing matches.
  std::wstring ScanRegValues(const std::wstring& root_name, const std::wstring& key_path,
                             const std::wstring& mode);

 private:
  void ShowTrappedError();
  void WriteDword(HKey key, const std::wstring& name, std::uint32_t data);
  void WriteText(HKey key, const std::wstring& name, const std::wstring& text, std::size_t byte_limit);
  void WritePolicy(HKey key, const std::wstring& setting_name);

  Registry& registry_;
  const TextCodec& codec_;
  Desktop& desktop_;
};

}  // namespace kelpo
