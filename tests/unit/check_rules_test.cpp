// The numeric test, the one-character version test and the Flash Player version rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/check_rules.h"
#include "reports/report_lines.h"

namespace kelpo {
namespace {

TEST(EqualsNumber, ReadsTheTextAsADecimalNumber) {
  EXPECT_TRUE(EqualsNumber(L"0", 0));
  EXPECT_TRUE(EqualsNumber(L"67", 67));
  EXPECT_TRUE(EqualsNumber(L" 67 ", 67));
  EXPECT_TRUE(EqualsNumber(L"067", 67));
  EXPECT_TRUE(EqualsNumber(L"+67", 67));
  EXPECT_TRUE(EqualsNumber(L"-0", 0));
  EXPECT_TRUE(EqualsNumber(L"0.0", 0));
  EXPECT_TRUE(EqualsNumber(L"2.", 2));
  EXPECT_TRUE(EqualsNumber(L"000000000000000000000000000001", 1));
  EXPECT_FALSE(EqualsNumber(L"71", 67));
  EXPECT_FALSE(EqualsNumber(L"-67", 67));
  EXPECT_FALSE(EqualsNumber(L"0.5", 0));
  EXPECT_FALSE(EqualsNumber(L"65536", 0));
  EXPECT_FALSE(EqualsNumber(L"-1", 0));
  EXPECT_FALSE(EqualsNumber(L"99999999999999999999999999999", 1));
}

TEST(EqualsNumber, EmptyOrNotANumberMatchesNothing) {
  for (const wchar_t* text : {L"", L" ", L"no", L"0x0", L"1e0", L"1 2", L".", L"+", L"-", L"0,0", L"\t0"}) {
    EXPECT_FALSE(EqualsNumber(text, 0)) << "text: " << std::wstring(text).size();
    EXPECT_FALSE(EqualsNumber(text, 1));
  }
  EXPECT_FALSE(EqualsNumber(std::wstring(L"0\0", 2), 0));
}

TEST(ClassifyFlash, MissingTooOldOrCurrent) {
  struct Case {
    std::wstring caption;
    FlashState state;
  };
  const std::vector<Case> cases = {
      {L"", FlashState::kMissing},
      {L"   ", FlashState::kMissing},
      {L"10.0.45.2", FlashState::kCurrent},
      {L"11.1.102.55", FlashState::kCurrent},
      {L"9.0.124.0", FlashState::kTooOld},
      {L" 10.0.45.2 ", FlashState::kCurrent},
      {L"10", FlashState::kCurrent},         // no dot: the whole text is the major part
      {L"9", FlashState::kTooOld},
      {L"010.1", FlashState::kCurrent},
      {L"WIN 10.0", FlashState::kTooOld},    // a major part that is not a number
      {L"abc", FlashState::kTooOld},
      {L".10", FlashState::kTooOld},
      {L"-10.0", FlashState::kTooOld},
      {L"99999999999999999999.0", FlashState::kCurrent},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyFlash(c.caption), c.state) << "caption length " << c.caption.size();
}

TEST(DotsForCommas, ReplacesEveryComma) {
  EXPECT_EQ(DotsForCommas(L"10,0,22,87"), L"10.0.22.87");
  EXPECT_EQ(DotsForCommas(L",,"), L"..");
  EXPECT_EQ(DotsForCommas(L"10.0"), L"10.0");
}

TEST(ReportLines, StatusFourSpacesTextAndSeparators) {
  EXPECT_EQ(ReportLine(report::kWarning, L"abc", L"x"), L"警告    abcx");
  EXPECT_EQ(Separator(), std::wstring(162, L'-'));
  EXPECT_EQ(Separator(report::kDisabledAddonSeparatorLength), std::wstring(161, L'-'));
}

}  // namespace
}  // namespace kelpo
