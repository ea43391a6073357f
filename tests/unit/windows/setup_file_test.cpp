// The set-up file: which lines count, where the reading stops, and the address it gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/site_address.h"
#include "unit/program_fixture.h"
#include "windows/setup_file.h"

namespace kelpo {
namespace {

struct Result {  // what the start-up takes from the file
  std::wstring url;
  bool auto_mode;
  bool operator==(const Result&) const = default;
};

void PrintTo(const Result& s, std::ostream* os) {
  *os << "{url of " << s.url.size() << " characters, auto " << s.auto_mode << "}";
}

class SetupFileTest : public testing::ProgramTest {
 protected:
  Result ReadBack() {
    const SetupFileContents contents = ReadSetupFileContents(files, codec, testing::kProgramFolder + L"\\Kelpo.ini");
    return {NormaliseSiteAddress(contents.raw_url), contents.auto_mode};
  }
  Result Read(const std::string& ini) {
    files.PutCompanion(L"Kelpo.ini", ini);
    return ReadBack();
  }
};

TEST_F(SetupFileTest, Cases) {
  struct Case {
    std::string ini;
    Result expected;
  };
  const std::vector<Case> cases = {
      {"", {L"", false}},
      {"Run=AUTO\r\nURL=http://www.example.com/index.htm\r\n", {L"http://www.example.com", true}},
      {"URL=http://www.example.com\r\nRun=AUTO\r\n", {L"http://www.example.com", false}},
      {";URL=http://commented.example.com\r\n;Run=AUTO\r\nURL=site.example.com/a\r\n", {L"site.example.com", false}},
      {"; comment\r\nRun=AUTO\r\n; another\r\nURL=http://host:8080/path\r\n", {L"http://host", true}},
      {"Run=AUTO \r\nURL=a\r\n", {L"a", false}},
      {"Run=auto\r\nURL=a\r\n", {L"a", false}},
      {"RUN=AUTO\r\nURL=a\r\n", {L"a", false}},
      {" Run=AUTO\r\nURL=a\r\n", {L"a", false}},
      {"Run=AUTOMATIC\r\nURL=a\r\n", {L"a", false}},
      {"Run=AUTO\r\nurl=http://lower.example.com\r\n", {L"", true}},
      {"Run=AUTO\r\n URL=http://indented.example.com\r\n", {L"", true}},
      {"URL=\r\nRun=AUTO\r\n", {L"", false}},
      {"URL=    \r\nRun=AUTO\r\nURL=http://second.example.com\r\n", {L"", false}},
      {"URL=http://first.example.com\r\nURL=http://second.example.com\r\n", {L"http://first.example.com", false}},
      {"Run=AUTO\r\nRun=manual\r\nURL=host:81\r\n", {L"host:81", true}},
      {"Run=AUTO\rURL=www.example.com/p\r", {L"www.example.com", true}},
      {"Run=AUTO\r\nURL=https://secure.example.com:443/x", {L"https://secure.example.com", true}},
      {"Run=AUTO\r\nURL=HTTP://Upper.example.com/x", {L"http://Upper.example.com", true}},
      // Line feeds alone do not end lines: the whole file is one line.
      {"Run=AUTO\nURL=http://lf.example.com\n", {L"", false}},
      {"URL=http://lf.example.com/x\nRun=AUTO\n", {L"http://lf.example.com", false}},
      {"URL=lf.example.com\nRun=AUTO\n", {L"lf.example.com\nRun=AUTO\n", false}},
      {";x\nRun=AUTO\r\nURL=a", {L"a", false}},  // the LF leaves Run=AUTO inside the comment
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
    EXPECT_EQ(Read(c.ini), c.expected);
  }
}

TEST_F(SetupFileTest, NothingSwitchesAutomaticModeOff) {
  EXPECT_EQ(Read("Run=AUTO\r\nRun=OFF\r\nRun=\r\nURL=a\r\n"), (Result{L"a", true}));
}

TEST_F(SetupFileTest, AFileThatCannotBeReadReadsAsEmpty) {
  files.PutCompanion(L"Kelpo.ini", "Run=AUTO\r\nURL=http://x.example.com\r\n");
  files.DenyReading(testing::kProgramFolder + L"\\Kelpo.ini");
  EXPECT_EQ(ReadBack(), (Result{L"", false}));
}

TEST_F(SetupFileTest, AReadFailingPartWayReadsAsEmpty) {
  files.PutCompanion(L"Kelpo.ini", "Run=AUTO\r\n; padding\r\nURL=http://x.example.com\r\n");
  files.FailReadingAfter(testing::kProgramFolder + L"\\Kelpo.ini", 12);
  EXPECT_EQ(ReadBack(), (Result{L"", false}));
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(SetupFileTest, AFileOfSeveralMegabytesAndALineOfAMegabyte) {
  std::string ini;
  for (int i = 0; i < 200000; ++i) ini += "; line of padding\r\n";
  ini += "Run=AUTO\r\nURL=http://" + std::string(1 << 20, 'h') + "/path\r\nRun=AUTO\r\n";
  ASSERT_GT(ini.size(), 4u << 20);
  const Result setup = Read(ini);
  EXPECT_TRUE(setup.auto_mode);
  EXPECT_EQ(setup.url, L"http://" + std::wstring(1 << 20, L'h'));
}

TEST_F(SetupFileTest, ZeroBytesInvalidSequencesAndAByteOrderMarkAreJustCharacters) {
  EXPECT_EQ(Read(std::string("Run=AUTO\0\r\nURL=a\0b\r\n", 21)), (Result{std::wstring(L"a\0b", 3), false}));
  EXPECT_EQ(Read("Run=AUTO\r\nURL=\xFF\xFEhost\xC3\r\n"), (Result{L"\uFFFD\uFFFDhost\uFFFD", true}));
  EXPECT_EQ(Read("\xEF\xBB\xBFURL=http://bom.example.com\r\n"), (Result{L"", false}));
  EXPECT_EQ(Read("\xEF\xBB\xBFRun=AUTO\r\nURL=x\r\n"), (Result{L"x", false}));
  EXPECT_EQ(Read("\xEF\xBB\xBF;\r\nRun=AUTO\r\nURL=x\r\n"), (Result{L"x", true}));
}

}  // namespace
}  // namespace kelpo
