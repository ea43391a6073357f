#pragma once
// Reading the registry as the program does: a key is a predefined root handle and a path below
// it; names and data cross the registry in the ANSI code page and come back as text. A key the
// reader opens is closed before it returns. Registry failures give the empty result and show
// nothing; only ReadStoredText traps run-time errors.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "registry/value_list.h"

namespace kelpo {

// A value's bytes exactly as stored, and its type.
struct StoredText {
  std::wstring text;                 // the bytes read as ANSI text, zero bytes included
  std::optional<std::int32_t> type;  // the registry type; -1 when closing the key failed or a
                                     // run-time error was trapped; none when no value was found
};

// A value read by its type: nothing, a string, or a 32-bit number.
using RegistryValue = std::variant<std::monostate, std::wstring, std::int32_t>;

class RegistryReader {
 public:
  RegistryReader(Registry& registry, const TextCodec& codec, Desktop& desktop)
      : registry_(registry), codec_(codec), desktop_(desktop) {}
  explicit RegistryReader(const Platform& platform)
      : RegistryReader(platform.registry, platform.codec, platform.desktop) {}

  // Any value's data as stored, whatever its type: a string keeps its terminating zero, a
  // number is its four bytes. Empty when the key or the value is missing. A run-time error is
  // trapped: the "GenUtils/GetRegEntry" box shows it and the text is empty.
  [[nodiscard]] StoredText ReadStoredText(HKey root, std::wstring_view path, std::wstring_view name);

  // A REG_SZ as the text before its first zero (every byte stored when it has none), a
  // REG_DWORD as its signed number; nothing for any other type or when nothing can be read.
  // The key is opened for reading only. Run-time errors end the read quietly with nothing.
  [[nodiscard]] RegistryValue ReadValue(HKey root, std::wstring_view path, std::wstring_view name);
  // ReadValue as text: a number as its signed decimal digits, nothing as the empty text.
  [[nodiscard]] std::wstring ReadText(HKey root, std::wstring_view path, std::wstring_view name);

  // True when the key opens for reading.
  [[nodiscard]] bool KeyExists(HKey root, std::wstring_view path);
  // True only when opening the key for reading says it does not exist: a key that cannot be
  // looked at for any other reason is not missing.
  [[nodiscard]] bool KeyMissing(HKey root, std::wstring_view path);

  // Every value of the key (ListValues), opened with the plain open; none when it cannot be.
  [[nodiscard]] std::vector<ListedValue> ListValues(HKey root, std::wstring_view path);

 private:
  RegStatus QueryTyped(HKey key, const std::string& name, RegistryValue& value);

  Registry& registry_;
  const TextCodec& codec_;
  Desktop& desktop_;
};

}  // namespace kelpo
