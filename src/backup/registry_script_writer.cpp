#include "backup/registry_script_writer.h"

#include <cstdio>

#include "platform/unicode.h"

namespace kelpo {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
// Hex data lines are wrapped once they reach this many characters, as regedit wraps them: a
// comma, a backslash, and the next line indented by two blanks.
constexpr std::size_t kHexLineWidth = 77;

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// Between double quotes: a backslash and a double quote are escaped with a backslash.
std::u16string Quoted(std::u16string_view units) {
  std::u16string quoted = u"\"";
  for (char16_t unit : units) {
    if (unit == u'\\' || unit == u'"') quoted += u'\\';
    quoted += unit;
  }
  return quoted + u"\"";
}

// The units of a REG_SZ that a quoted string says exactly, or nothing.
std::optional<std::u16string> QuotableText(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units = Utf16FromLeBytes(bytes);
  if (units.back() != 0) return std::nullopt;
  units.pop_back();
  for (char16_t unit : units)
    if (unit == 0 || unit == u'\r' || unit == u'\n') return std::nullopt;
  return units;
}

std::u16string TypeTag(std::uint32_t type) {
  if (type == reg::kRegBinary) return u"hex:";
  char tag[24];
  std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
  return Ascii(tag);
}

void AppendHex(std::u16string& line, std::size_t line_start, const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    line += static_cast<char16_t>(kDigits[byte >> 4]);
    line += static_cast<char16_t>(kDigits[byte & 0xF]);
    if (i + 1 == bytes.size()) break;
    line += u',';
    if (line.size() - line_start >= kHexLineWidth) {
      line += u"\\";
      line += kLineEnd;
      line_start = line.size();
      line += u"  ";
    }
  }
}

void AppendData(std::u16string& text, std::size_t line_start, const RawData& data) {
  if (data.type == reg::kRegSz) {
    if (const std::optional<std::u16string> units = QuotableText(data.bytes)) {
      text += Quoted(*units);
      return;
    }
  }
  if (data.type == reg::kRegDword && data.bytes.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(data.bytes[i]);
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(number));
    text += Ascii(digits);
    return;
  }
  text += TypeTag(data.type);
  AppendHex(text, line_start, data.bytes);
}

void AppendValue(std::u16string& text, const ScriptValue& value) {
  if (!CanWriteName(value.name) || (!value.remove && !value.data)) return;
  const std::size_t line_start = text.size();
  text += value.name.empty() ? std::u16string(u"@") : Quoted(ToUtf16(value.name));
  text += u'=';
  if (value.remove) {
    text += u'-';
  } else {
    AppendData(text, line_start, *value.data);
  }
  text += kLineEnd;
}

}  // namespace

bool CanWriteName(std::wstring_view name) { return name.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring_view::npos; }

std::u16string RegistryScriptText(const RegistryScript& script) {
  std::u16string text = ToUtf16(kVersion5Header);
  text += kLineEnd;
  text += kLineEnd;
  for (const ScriptKey& key : script.keys) {
    if (!CanWriteName(key.path)) continue;
    text += key.remove ? u"[-" : u"[";
    text += ToUtf16(key.path);
    text += u']';
    text += kLineEnd;
    if (!key.remove)
      for (const ScriptValue& value : key.values) AppendValue(text, value);
    text += kLineEnd;
  }
  return text;
}

std::string EncodeRegistryScript(const RegistryScript& script) {
  return "\xFF\xFE" + Utf16LeBytes(RegistryScriptText(script));
}

}  // namespace kelpo
