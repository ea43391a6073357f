// The registry-script reader: both formats, every line form, continuations, and what a reader
// must survive; and that what the writer writes reads back the same.
#include <gtest/gtest.h>

#include "backup/registry_script_reader.h"
#include "backup/registry_script_writer.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/unicode.h"
#include "support/gbk_codec.h"
#include "support/raw_data_printer.h"

namespace kelpo {
namespace {

std::string Utf16(const std::wstring& text) { return Utf16LeBytes(ToUtf16(text)) + std::string(2, '\0'); }

std::string Version5File(const std::wstring& text) { return "\xFF\xFE" + Utf16LeBytes(ToUtf16(text)); }

class RegistryScriptReader : public ::testing::Test {
 protected:
  ReadScript Read(const std::string& bytes) { return ReadRegistryScript(bytes, codec_); }
  Utf8Codec codec_;
};

TEST_F(RegistryScriptReader, ReadsAVersion5FileInUtf16) {
  const ReadScript read = Read(Version5File(
      L"Windows Registry Editor Version 5.00\r\n\r\n"
      L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\例子.com]\r\n"
      L"\"http\"=dword:00000002\r\n"
      L"@=\"默认\"\r\n"
      L"\r\n"
      L"[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      L"\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelpo]\r\n"
      L"\"gone\"=-\r\n"
      L"\"e\"=hex(2):25,00,41,00,00,00\r\n"));
  EXPECT_EQ(read.format, ScriptFormat::kVersion5);
  const RegistryScript expected{{
      {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\例子.com",
       false,
       {{L"http", false, RawData{reg::kRegDword, std::string("\x02\0\0\0", 4)}},
        {L"", false, RawData{reg::kRegSz, Utf16(L"默认")}}}},
      {L"HKEY_CURRENT_USER\\Software\\Old", true, {}},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelpo",
       false,
       {{L"gone", true, std::nullopt}, {L"e", false, RawData{reg::kRegExpandSz, std::string("%\0A\0\0\0", 6)}}}},
  }};
  EXPECT_EQ(read.script, expected);
}

TEST_F(RegistryScriptReader, ReadsARegedit4FileInTheAnsiCodePage) {
  const std::unique_ptr<TextCodec> gbk = testing::MakeGbkCodec();
  const std::string file = gbk->ToAnsi(
      L"REGEDIT4\r\n\r\n"
      L"[HKEY_CURRENT_USER\\Software\\白名单]\r\n"
      L"\"网站\"=\"可信\"\r\n") +
      "\"multi\"=hex(7):" + "b0,d7,00,00\r\n";  // 白 in GBK, then the list's two zeros
  const ReadScript read = ReadRegistryScript(file, *gbk);
  EXPECT_EQ(read.format, ScriptFormat::kRegedit4);
  ASSERT_EQ(read.script.keys.size(), 1u);
  EXPECT_EQ(read.script.keys[0].path, L"HKEY_CURRENT_USER\\Software\\白名单");
  ASSERT_EQ(read.script.keys[0].values.size(), 2u);
  EXPECT_EQ(read.script.keys[0].values[0], (ScriptValue{L"网站", false, RawData{reg::kRegSz, Utf16(L"可信")}}));
  // The file's ANSI list becomes the UTF-16 the registry keeps.
  EXPECT_EQ(read.script.keys[0].values[1].data, (RawData{reg::kRegMultiSz, Utf16LeBytes(u"白") + std::string(4, '\0')}));
}

TEST_F(RegistryScriptReader, JoinsContinuedHexAndUnescapesNamesAndStrings) {
  const ReadScript read = Read(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\K]\n"
      "\"bin\"=hex:01,02,\\\n"
      "  03,04,\\\n"
      "\t05\n"
      "\"a \\\"quoted\\\" \\\\name\"=\"C:\\\\dir\\\\\\\"x\\\"\"\n"
      "  \"spaced\" = dword:0000002a  \n"
      "\"other\\escape\"=\"keep\\n\"\n");
  ASSERT_EQ(read.script.keys.size(), 1u);
  const std::vector<ScriptValue> expected = {
      {L"bin", false, RawData{reg::kRegBinary, "\x01\x02\x03\x04\x05"}},
      {L"a \"quoted\" \\name", false, RawData{reg::kRegSz, Utf16(L"C:\\dir\\\"x\"")}},
      {L"spaced", false, RawData{reg::kRegDword, std::string("\x2a\0\0\0", 4)}},
      {L"other\\escape", false, RawData{reg::kRegSz, Utf16(L"keep\\n")}},
  };
  EXPECT_EQ(read.script.keys[0].values, expected);
}

TEST_F(RegistryScriptReader, TheKeyEndsAtTheLastBracketAndLinesEndAnyWay) {
  const ReadScript read = Read("REGEDIT4\r[HKEY_CURRENT_USER\\a]b]c]  \r\"x\"=-\r\n[-HKEY_CURRENT_USER\\[odd]]\n");
  ASSERT_EQ(read.script.keys.size(), 2u);
  EXPECT_EQ(read.script.keys[0].path, L"HKEY_CURRENT_USER\\a]b]c");
  EXPECT_EQ(read.script.keys[0].values.size(), 1u);
  EXPECT_EQ(read.script.keys[1], (ScriptKey{L"HKEY_CURRENT_USER\\[odd]", true, {}}));
}

TEST_F(RegistryScriptReader, KeepsNamesWhoseDataItCannotReadAndPassesOverTheRest) {
  const ReadScript read = Read(
      "not a header\n"
      "\"before\"=\"any key\"\n"
      "[HKEY_CURRENT_USER\\K]\n"
      "; a comment\n"
      "\"badDword\"=dword:123456789\n"
      "\"badHex\"=hex:1g\n"
      "\"unknown\"=str(2):\"x\"\n"
      "\"unclosed\"=\"x\n"
      "\"trailing\"=\"x\" y\n"
      "\"noEquals\" \"x\"\n"
      "\"unclosed name=1\n"
      "[HKEY_CURRENT_USER\\no close\n"
      "\"afterBadKey\"=\"x\"\n"
      "[-HKEY_CURRENT_USER\\Gone]\n"
      "\"afterRemoval\"=\"x\"\n");
  EXPECT_EQ(read.format, ScriptFormat::kUnknown);
  ASSERT_EQ(read.script.keys.size(), 2u);
  std::vector<std::wstring> names;
  for (const ScriptValue& value : read.script.keys[0].values) {
    names.push_back(value.name);
    EXPECT_FALSE(value.data.has_value()) << value.name.size();
    EXPECT_FALSE(value.remove);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"badDword", L"badHex", L"unknown", L"unclosed", L"trailing"}));
  EXPECT_EQ(read.script.keys[1], (ScriptKey{L"HKEY_CURRENT_USER\\Gone", true, {}}));
}

TEST_F(RegistryScriptReader, ReadsBackWhatTheWriterWritesForEveryType) {
  const RegistryScript script{{
      {L"HKEY_CURRENT_USER\\Software\\Kelpo\\中文]\"",
       false,
       {{L"", false, RawData{reg::kRegSz, Utf16(L"default")}},
        {L"q\"uo\\te]", false, RawData{reg::kRegSz, Utf16(L"a\\\"b\"")}},
        {L"noZero", false, RawData{reg::kRegSz, std::string("a\0b\0", 4)}},
        {L"odd", false, RawData{reg::kRegSz, std::string("a\0\0", 3)}},
        {L"empty", false, RawData{reg::kRegSz, ""}},
        {L"expand", false, RawData{reg::kRegExpandSz, Utf16(L"%TEMP%")}},
        {L"multi", false, RawData{reg::kRegMultiSz, std::string("a\0\0\0\0\0", 6)}},
        {L"binary", false, RawData{reg::kRegBinary, std::string(200, '\xC3')}},
        {L"dword", false, RawData{reg::kRegDword, "\x01\x02\x03\x04"}},
        {L"dwordShort", false, RawData{reg::kRegDword, "\x01"}},
        {L"qword", false, RawData{reg::kRegQword, std::string(8, '\x11')}},
        {L"none", false, RawData{reg::kRegNone, ""}},
        {L"other", false, RawData{0x1234, "\x09"}},
        {L"removed", true, std::nullopt}}},
      {L"HKEY_CURRENT_USER\\Software\\Removed", true, {}},
  }};
  const ReadScript read = Read(EncodeRegistryScript(script));
  EXPECT_EQ(read.format, ScriptFormat::kVersion5);
  EXPECT_EQ(read.script, script);
}

}  // namespace
}  // namespace kelpo
