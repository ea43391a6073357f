#include "backup/registry_script_reader.h"

#include <algorithm>

#include "platform/unicode.h"
#include "text/strings.h"

namespace kelpo {
namespace {

constexpr std::wstring_view kRegedit4Header = L"REGEDIT4";
constexpr std::wstring_view kVersion5Header = L"Windows Registry Editor Version 5.00";

// Blanks in a script line are spaces and tabs.
constexpr std::wstring_view kBlanks = L" \t";

std::wstring_view TrimLeading(std::wstring_view text) { return TrimStart(text, kBlanks); }
std::wstring_view TrimBoth(std::wstring_view text) { return Trim(text, kBlanks); }

// CR LF, LF or a lone CR ends a line.
std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A quoted text starting at text[0] == '"': its content with \\ and \" unescaped (any other
// backslash stays as written), and what follows the closing quote. Nothing when unclosed.
std::optional<std::pair<std::wstring, std::wstring_view>> Unquote(std::wstring_view text) {
  std::wstring content;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && (text[i + 1] == L'\\' || text[i + 1] == L'"')) {
      content += text[++i];
    } else if (text[i] == L'"') {
      return std::make_pair(std::move(content), text.substr(i + 1));
    } else {
      content += text[i];
    }
  }
  return std::nullopt;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// One to eight hex digits, the whole text.
std::optional<std::uint32_t> HexNumber(std::wstring_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (wchar_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = (number << 4) | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// "01,2a,ff": bytes of one or two hex digits between commas; blanks around them and a
// trailing comma are allowed.
std::optional<std::string> HexBytes(std::wstring_view text) {
  std::string bytes;
  text = TrimBoth(text);
  while (!text.empty()) {
    const std::size_t comma = std::min(text.find(L','), text.size());
    const std::wstring_view item = TrimBoth(text.substr(0, comma));
    const std::optional<std::uint32_t> byte = item.size() <= 2 ? HexNumber(item) : std::nullopt;
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
    text = comma < text.size() ? TrimLeading(text.substr(comma + 1)) : std::wstring_view();
  }
  return bytes;
}

std::string StringBytes(std::wstring_view text) { return Utf16LeBytes(ToUtf16(text)) + std::string(2, '\0'); }

class Parser {
 public:
  Parser(ScriptFormat format, const TextCodec& codec) : format_(format), codec_(codec) {}

  void ReadLines(const std::vector<std::wstring_view>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::wstring_view line = TrimLeading(lines[i]);
      if (line.empty()) continue;
      if (line.front() == L'[') {
        ReadKeyLine(line);
      } else if (line.front() == L'"' || line.front() == L'@') {
        ReadValueLine(JoinContinuations(lines, i));
      }
    }
  }

  RegistryScript TakeScript() { return std::move(script_); }

 private:
  void ReadKeyLine(std::wstring_view line) {
    in_key_ = false;
    const std::size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos) return;
    std::wstring_view path = line.substr(1, close - 1);
    ScriptKey key;
    if (!path.empty() && path.front() == L'-') {
      key.remove = true;
      path.remove_prefix(1);
    }
    key.path = std::wstring(path);
    in_key_ = !key.remove;
    script_.keys.push_back(std::move(key));
  }

  // The value line, with every line it continues on ("\" at the end of hex data) joined to it.
  static std::wstring JoinContinuations(const std::vector<std::wstring_view>& lines, std::size_t& i) {
    std::wstring joined(TrimBoth(lines[i]));
    while (!joined.empty() && joined.back() == L'\\' && IsHexLine(joined) && i + 1 < lines.size()) {
      joined.pop_back();
      joined += TrimBoth(lines[++i]);
    }
    return joined;
  }

  static bool IsHexLine(std::wstring_view line) {
    std::size_t at = 0;
    if (line.front() == L'"') {
      const auto name = Unquote(line);
      if (!name) return false;
      at = line.size() - name->second.size();
    } else {
      at = 1;
    }
    std::wstring_view rest = TrimLeading(line.substr(at));
    if (rest.empty() || rest.front() != L'=') return false;
    return StartsWithIgnoringAsciiCase(TrimLeading(rest.substr(1)), L"hex");
  }

  void ReadValueLine(std::wstring_view line) {
    if (!in_key_) return;
    ScriptValue value;
    std::wstring_view rest;
    if (line.front() == L'@') {
      rest = line.substr(1);
    } else {
      auto name = Unquote(line);
      if (!name) return;
      value.name = std::move(name->first);
      rest = name->second;
    }
    rest = TrimLeading(rest);
    if (rest.empty() || rest.front() != L'=') return;
    const std::wstring_view data = TrimBoth(rest.substr(1));
    if (data == L"-") {
      value.remove = true;
    } else {
      value.data = ReadData(data);
    }
    script_.keys.back().values.push_back(std::move(value));
  }

  std::optional<RawData> ReadData(std::wstring_view data) const {
    if (!data.empty() && data.front() == L'"') {
      const auto text = Unquote(data);
      if (!text || !TrimBoth(text->second).empty()) return std::nullopt;
      return RawData{reg::kRegSz, StringBytes(text->first)};
    }
    if (StartsWithIgnoringAsciiCase(data, L"dword:")) {
      const std::optional<std::uint32_t> number = HexNumber(TrimBoth(data.substr(6)));
      if (!number) return std::nullopt;
      std::string bytes;
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((*number >> (8 * i)) & 0xFF);
      return RawData{reg::kRegDword, bytes};
    }
    std::uint32_t type = reg::kRegBinary;
    std::wstring_view hex;
    if (StartsWithIgnoringAsciiCase(data, L"hex:")) {
      hex = data.substr(4);
    } else if (StartsWithIgnoringAsciiCase(data, L"hex(")) {
      const std::size_t close = data.find(L"):");
      if (close == std::wstring_view::npos) return std::nullopt;
      const std::optional<std::uint32_t> number = HexNumber(data.substr(4, close - 4));
      if (!number) return std::nullopt;
      type = *number;
      hex = data.substr(close + 2);
    } else {
      return std::nullopt;
    }
    std::optional<std::string> bytes = HexBytes(hex);
    if (!bytes) return std::nullopt;
    // A REGEDIT4 file holds these two in the ANSI code page; the registry keeps them in UTF-16.
    if (format_ == ScriptFormat::kRegedit4 && (type == reg::kRegExpandSz || type == reg::kRegMultiSz))
      *bytes = Utf16LeBytes(ToUtf16(codec_.FromAnsi(*bytes)));
    return RawData{type, std::move(*bytes)};
  }

  ScriptFormat format_;
  const TextCodec& codec_;
  RegistryScript script_;
  bool in_key_ = false;  // value lines belong to the last key line, when it names a key to write
};

ScriptFormat FormatOf(const std::vector<std::wstring_view>& lines) {
  for (std::wstring_view line : lines) {
    line = TrimBoth(line);
    if (line.empty()) continue;
    if (line == kVersion5Header) return ScriptFormat::kVersion5;
    if (line == kRegedit4Header) return ScriptFormat::kRegedit4;
    return ScriptFormat::kUnknown;
  }
  return ScriptFormat::kUnknown;
}

}  // namespace

ReadScript ReadRegistryScript(std::string_view bytes, const TextCodec& codec) {
  const bool utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  const std::wstring text = utf16 ? FromUtf16(Utf16FromLeBytes(bytes.substr(2))) : codec.FromAnsi(bytes);
  const std::vector<std::wstring_view> lines = SplitLines(text);
  ReadScript read;
  read.format = FormatOf(lines);
  Parser parser(read.format, codec);
  parser.ReadLines(lines);
  read.script = parser.TakeScript();
  return read;
}

}  // namespace kelpo
