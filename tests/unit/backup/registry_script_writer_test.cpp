// The registry-script writer: regedit's text, every value type, escaping and line wrapping.
#include <gtest/gtest.h>

#include "backup/registry_script_writer.h"
#include "platform/unicode.h"
#include "support/raw_data_printer.h"

namespace kelpo {
namespace {

std::string Utf16(const std::wstring& text) { return Utf16LeBytes(ToUtf16(text)) + std::string(2, '\0'); }

// The text as wide characters, for comparing with literals.
std::wstring Text(const RegistryScript& script) { return FromUtf16(RegistryScriptText(script)); }

// The line that writes one value into a key, without the line end.
std::wstring ValueLine(const std::wstring& name, RawData data) {
  const std::wstring text = Text({{{L"HKEY_CURRENT_USER\\K", false, {{name, false, std::move(data)}}}}});
  const std::wstring head = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - 4), L"\r\n\r\n");
  return text.substr(head.size(), text.size() - head.size() - 4);
}

TEST(RegistryScriptWriter, WritesTheHeaderKeysRemovalsAndTheDefaultValueAsRegeditDoes) {
  const RegistryScript script{{
      {L"HKEY_CURRENT_USER\\Software\\Gone", true, {}},
      {L"HKEY_CURRENT_USER\\Software\\Kept",
       false,
       {{L"", false, RawData{reg::kRegSz, Utf16(L"default")}},
        {L"old", true, std::nullopt},
        {L"", true, std::nullopt}}},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty", false, {}},
  }};
  EXPECT_EQ(Text(script),
            L"Windows Registry Editor Version 5.00\r\n"
            L"\r\n"
            L"[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
            L"\r\n"
            L"[HKEY_CURRENT_USER\\Software\\Kept]\r\n"
            L"@=\"default\"\r\n"
            L"\"old\"=-\r\n"
            L"@=-\r\n"
            L"\r\n"
            L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty]\r\n"
            L"\r\n");
  const std::string bytes = EncodeRegistryScript(script);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));  // byte-order mark, then UTF-16LE
  EXPECT_EQ(bytes.substr(2), Utf16LeBytes(RegistryScriptText(script)));
}

TEST(RegistryScriptWriter, QuotesNamesAndStringsEscapingBackslashesAndQuotes) {
  EXPECT_EQ(ValueLine(L"a\"b\\c]d", {reg::kRegSz, Utf16(L"C:\\Program Files\\\"x\"")}),
            L"\"a\\\"b\\\\c]d\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"");
  EXPECT_EQ(ValueLine(L"中文", {reg::kRegSz, Utf16(L"可信站点")}), L"\"中文\"=\"可信站点\"");
  EXPECT_EQ(ValueLine(L"@", {reg::kRegSz, Utf16(L"")}), L"\"@\"=\"\"");
}

TEST(RegistryScriptWriter, StringsAQuoteCannotSayExactlyAreWrittenAsHex1) {
  EXPECT_EQ(ValueLine(L"noZero", {reg::kRegSz, std::string("a\0b\0", 4)}), L"\"noZero\"=hex(1):61,00,62,00");
  EXPECT_EQ(ValueLine(L"empty", {reg::kRegSz, ""}), L"\"empty\"=hex(1):");
  EXPECT_EQ(ValueLine(L"odd", {reg::kRegSz, std::string("a\0\0", 3)}), L"\"odd\"=hex(1):61,00,00");
  EXPECT_EQ(ValueLine(L"inner", {reg::kRegSz, std::string("a\0\0\0b\0\0\0", 8)}),
            L"\"inner\"=hex(1):61,00,00,00,62,00,00,00");
  EXPECT_EQ(ValueLine(L"twoZeros", {reg::kRegSz, std::string("a\0\0\0\0\0", 6)}),
            L"\"twoZeros\"=hex(1):61,00,00,00,00,00");
  EXPECT_EQ(ValueLine(L"lines", {reg::kRegSz, Utf16(L"a\r\nb")}),
            L"\"lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00");
}

TEST(RegistryScriptWriter, EveryOtherTypeHasItsForm) {
  EXPECT_EQ(ValueLine(L"d", {reg::kRegDword, std::string("\x78\x56\x34\x12", 4)}), L"\"d\"=dword:12345678");
  EXPECT_EQ(ValueLine(L"d", {reg::kRegDword, std::string(4, '\xFF')}), L"\"d\"=dword:ffffffff");
  EXPECT_EQ(ValueLine(L"short", {reg::kRegDword, std::string("\x01\x02", 2)}), L"\"short\"=hex(4):01,02");
  EXPECT_EQ(ValueLine(L"long", {reg::kRegDword, std::string(5, '\0')}), L"\"long\"=hex(4):00,00,00,00,00");
  EXPECT_EQ(ValueLine(L"e", {reg::kRegExpandSz, Utf16(L"%A%")}), L"\"e\"=hex(2):25,00,41,00,25,00,00,00");
  EXPECT_EQ(ValueLine(L"m", {reg::kRegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)}),
            L"\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00");
  EXPECT_EQ(ValueLine(L"b", {reg::kRegBinary, std::string("\x00\xAB\xFF", 3)}), L"\"b\"=hex:00,ab,ff");
  EXPECT_EQ(ValueLine(L"b", {reg::kRegBinary, ""}), L"\"b\"=hex:");
  EXPECT_EQ(ValueLine(L"q", {reg::kRegQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}),
            L"\"q\"=hex(b):01,02,03,04,05,06,07,08");
  EXPECT_EQ(ValueLine(L"n", {reg::kRegNone, ""}), L"\"n\"=hex(0):");
  EXPECT_EQ(ValueLine(L"n", {reg::kRegNone, std::string("\x05", 1)}), L"\"n\"=hex(0):05");
  EXPECT_EQ(ValueLine(L"big", {0x5, std::string("\x01", 1)}), L"\"big\"=hex(5):01");
  EXPECT_EQ(ValueLine(L"odd", {0xFFFF0012u, std::string("\x01", 1)}), L"\"odd\"=hex(ffff0012):01");
}

TEST(RegistryScriptWriter, LongHexDataWrapsAtRegeditsWidthWithContinuations) {
  const std::string bytes(100, '\x5A');
  const std::wstring line = ValueLine(L"blob", {reg::kRegBinary, bytes});
  // Every line but the last ends in ",\"; continuations are indented by two blanks; none is
  // longer than 80 characters; the bytes are all there, in order.
  std::vector<std::wstring> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = line.find(L"\r\n", start);
    lines.push_back(line.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  ASSERT_GT(lines.size(), 3u);
  std::wstring joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 80u) << i;
    if (i + 1 < lines.size()) {
      EXPECT_EQ(lines[i].substr(lines[i].size() - 2), L",\\") << i;
    }
    if (i > 0) {
      EXPECT_EQ(lines[i].substr(0, 2), L"  ") << i;
      EXPECT_NE(lines[i][2], L' ') << i;
    }
    joined += i == 0 ? lines[i] : lines[i].substr(2);
    if (i + 1 < lines.size()) joined.pop_back();
  }
  std::wstring expected = L"\"blob\"=hex:";
  for (std::size_t i = 0; i < bytes.size(); ++i) expected += i ? L",5a" : L"5a";
  EXPECT_EQ(joined, expected);
  EXPECT_EQ(lines[1].size(), 2u + 25 * 3 + 1);  // 25 bytes on a full continuation line
}

TEST(RegistryScriptWriter, LeavesOutWhatALineCannotHold) {
  const RegistryScript script{{
      {L"HKEY_CURRENT_USER\\Bad\nKey", false, {{L"x", true, std::nullopt}}},
      {L"HKEY_CURRENT_USER\\Good",
       false,
       {{L"line\rbreak", true, std::nullopt},
        {std::wstring(L"zero\0name", 9), true, std::nullopt},
        {L"unread", false, std::nullopt},
        {L"kept", true, std::nullopt}}},
      {L"HKEY_CURRENT_USER\\Removed", true, {{L"ignored", true, std::nullopt}}},
  }};
  EXPECT_EQ(Text(script),
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Good]\r\n\"kept\"=-\r\n\r\n"
            L"[-HKEY_CURRENT_USER\\Removed]\r\n\r\n");
  EXPECT_FALSE(CanWriteName(L"a\nb"));
  EXPECT_TRUE(CanWriteName(L"a]\"\\b 中"));
}

TEST(Unicode, SurrogatePairsAndLoneSurrogatesSurviveUtf16) {
  const std::u16string units = {u'A', 0xD83D, 0xDE00, 0xDC00, u'中', 0xD800};
  EXPECT_EQ(ToUtf16(FromUtf16(units)), units);
  EXPECT_EQ(Utf16FromLeBytes(Utf16LeBytes(units)), units);
  EXPECT_EQ(Utf16FromLeBytes(std::string("A\0B", 3)), u"A");  // an odd last byte is left out
  EXPECT_EQ(ToUtf8(FromUtf16(units)), "A\xF0\x9F\x98\x80\xEF\xBF\xBD\xE4\xB8\xAD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kelpo
