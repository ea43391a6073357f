// Sequential line input: the line-end rule, cut anywhere, and the lines of the in-memory files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_text_codec.h"
#include "text/ansi_lines.h"

namespace kelpo {
namespace {

std::vector<std::wstring> SplitInChunks(const std::string& bytes, std::size_t chunk) {
  Utf8Codec codec;
  std::vector<std::wstring> lines;
  AnsiLineSplitter splitter(codec, [&](const std::wstring& line) {
    lines.push_back(line);
    return true;
  });
  for (std::size_t at = 0; at < bytes.size(); at += chunk) splitter.Feed(std::string_view(bytes).substr(at, chunk));
  splitter.Finish();
  return lines;
}

struct LineCase {
  std::string bytes;
  std::vector<std::wstring> lines;
};

TEST(AnsiLineSplitter, CrOrCrLfEndsALineALoneLfStaysAndALastLineWithoutEndIsRead) {
  const std::vector<LineCase> cases = {
      {"", {}},
      {"a", {L"a"}},
      {"a\r", {L"a"}},
      {"a\r\n", {L"a"}},
      {"a\rb", {L"a", L"b"}},
      {"a\r\nb\r\n", {L"a", L"b"}},
      {"a\nb\nc", {L"a\nb\nc"}},
      {"a\n", {L"a\n"}},
      {"\n", {L"\n"}},
      {"\r\r", {L"", L""}},
      {"\r\n\r\n", {L"", L""}},
      {"\n\r", {L"\n"}},
      {"a\r\r\nb", {L"a", L"", L"b"}},
      {"a\n\r\nb", {L"a\n", L"b"}},
      {"x\r\n\n", {L"x", L"\n"}},
      {std::string("a\0b\r", 4), {std::wstring(L"a\0b", 3)}},
  };
  for (const LineCase& c : cases) {
    for (std::size_t chunk = 1; chunk <= c.bytes.size() + 1; ++chunk)
      EXPECT_EQ(SplitInChunks(c.bytes, chunk), c.lines) << "bytes of length " << c.bytes.size() << ", chunk " << chunk;
  }
}

TEST(AnsiLineSplitter, StopsWhenAskedAndDeliversNothingMore) {
  Utf8Codec codec;
  std::vector<std::wstring> lines;
  AnsiLineSplitter splitter(codec, [&](const std::wstring& line) {
    lines.push_back(line);
    return line != L"stop";
  });
  EXPECT_FALSE(splitter.Feed("a\rstop\rb\rc"));
  EXPECT_FALSE(splitter.Feed("d\r"));
  EXPECT_FALSE(splitter.Finish());
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"a", L"stop"}));
}

TEST(AnsiLineSplitter, DecodesEachLineThroughTheCodecAndKeepsABomAsText) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(SplitInChunks(bom + "URL=\xE5\xB7\xA5\r\xFF\xFE", 2),
            (std::vector<std::wstring>{L"\uFEFFURL=工", L"\uFFFD\uFFFD"}));
}

TEST(AnsiLineSplitter, AMegabyteLineArrivesWhole) {
  const std::string line(1 << 20, 'x');
  const auto lines = SplitInChunks(line + "\r\nnext", 4096);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), line.size());
  EXPECT_EQ(lines[1], L"next");
}

class SimFilesTest : public ::testing::Test {
 protected:
  Utf8Codec codec;
  SimFiles files{L"C:\\Kelpo"};

  std::vector<std::wstring> Read(const std::wstring& path, bool* ok = nullptr) {
    std::vector<std::wstring> lines;
    const bool read = ReadAnsiLines(files, codec, path, [&](const std::wstring& line) {
      lines.push_back(line);
      return true;
    });
    if (ok) *ok = read;
    return lines;
  }
};

TEST_F(SimFilesTest, OnlyNormalFilesExistHiddenSystemAndFoldersDoNot) {
  files.Put(L"C:\\Kelpo\\plain.reg", "");
  files.Put(L"C:\\Kelpo\\readonly.reg", "", file_attr::kReadOnly | file_attr::kArchive);
  files.Put(L"C:\\Kelpo\\hidden.reg", "", file_attr::kHidden);
  files.Put(L"C:\\Kelpo\\system.reg", "", file_attr::kSystem | file_attr::kArchive);
  files.Put(L"C:\\Kelpo\\folder.reg", "", file_attr::kDirectory);
  EXPECT_TRUE(files.Exists(L"C:\\Kelpo\\plain.reg"));
  EXPECT_TRUE(files.Exists(L"c:\\KELPO\\Plain.REG"));
  EXPECT_TRUE(files.Exists(L"C:\\Kelpo\\readonly.reg"));
  EXPECT_FALSE(files.Exists(L"C:\\Kelpo\\hidden.reg"));
  EXPECT_FALSE(files.Exists(L"C:\\Kelpo\\system.reg"));
  EXPECT_FALSE(files.Exists(L"C:\\Kelpo\\folder.reg"));
  EXPECT_FALSE(files.Exists(L"C:\\Kelpo\\absent.reg"));
  EXPECT_EQ(files.existence_tests().size(), 7u);
}

TEST_F(SimFilesTest, CompanionFilesLieInTheProgramFolder) {
  files.PutCompanion(L"Kelpo.ini", "URL=x");
  EXPECT_EQ(files.ProgramFolder(), L"C:\\Kelpo");
  EXPECT_TRUE(files.Exists(L"C:\\Kelpo\\Kelpo.ini"));
  EXPECT_EQ(Read(L"C:\\Kelpo\\Kelpo.ini"), std::vector<std::wstring>{L"URL=x"});
}

TEST_F(SimFilesTest, UnreadableFilesFailAndAFailurePartWayDeliversTheCompleteLinesBeforeIt) {
  files.Put(L"C:\\Kelpo\\locked.ini", "a\rb\r");
  files.DenyReading(L"C:\\Kelpo\\locked.ini");
  bool ok = true;
  EXPECT_TRUE(Read(L"C:\\Kelpo\\locked.ini", &ok).empty());
  EXPECT_FALSE(ok);
  EXPECT_TRUE(files.Exists(L"C:\\Kelpo\\locked.ini"));

  files.Put(L"C:\\Kelpo\\broken.ini", "one\rtwo\rthree");
  files.FailReadingAfter(L"C:\\Kelpo\\broken.ini", 6);
  EXPECT_EQ(Read(L"C:\\Kelpo\\broken.ini", &ok), std::vector<std::wstring>{L"one"});
  EXPECT_FALSE(ok);

  EXPECT_TRUE(Read(L"C:\\Kelpo\\absent.ini", &ok).empty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(files.reads().size(), 3u);
}

TEST_F(SimFilesTest, StoppingEarlyIsASuccess) {
  files.Put(L"C:\\Kelpo\\a.ini", "1\r2\r3");
  std::vector<std::wstring> lines;
  EXPECT_TRUE(ReadAnsiLines(files, codec, L"C:\\Kelpo\\a.ini", [&](const std::wstring& line) {
    lines.push_back(line);
    return false;
  }));
  EXPECT_EQ(lines, std::vector<std::wstring>{L"1"});
}

}  // namespace
}  // namespace kelpo
