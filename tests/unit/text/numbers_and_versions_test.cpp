// The number rules (equal to a number, four whole numbers) and the version rules (the first
// character of the browser's version, the Flash Player's major part).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/numbers.h"
#include "text/versions.h"

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

TEST(FourPartNumber, AgreesWithTheRangeRule) {
  EXPECT_TRUE(IsFourPartNumber(L"192.168.1.20"));
  EXPECT_TRUE(IsFourPartNumber(L"-1.+2. 3 .4"));
  EXPECT_FALSE(IsFourPartNumber(L"1.2.3"));
  EXPECT_FALSE(IsFourPartNumber(L"1.2.3.4."));
  EXPECT_FALSE(IsFourPartNumber(L"1. .3.4"));
  EXPECT_FALSE(IsFourPartNumber(L"1.2.3.0x1"));
  EXPECT_FALSE(IsFourPartNumber(L"1.2.3.1e2"));
  EXPECT_FALSE(IsFourPartNumber(L"1.2.3.+-4"));
  EXPECT_FALSE(IsFourPartNumber(L"a.b.c.d"));
}

TEST(WholeNumber, DigitsWithAnOptionalSignAndSpacesAround) {
  for (const wchar_t* text : {L"0", L"+1", L"-12", L" 7 ", L"000123456789012345678901234567890"}) EXPECT_TRUE(IsWholeNumber(text));
  for (const wchar_t* text : {L"", L" ", L"+", L"-", L"1.0", L"1 2", L"\t1", L"0x1", L"１"}) EXPECT_FALSE(IsWholeNumber(text));
}

TEST(IsIeVersion, TestsOneCharacterAfterLeadingBlanks) {
  EXPECT_TRUE(IsIeVersion(L"6.0.2900.5512", L'6'));
  EXPECT_TRUE(IsIeVersion(L"   6.0", L'6'));
  EXPECT_TRUE(IsIeVersion(L"8.0.6001.18702", L'8'));
  EXPECT_TRUE(IsIeVersion(L"80", L'8'));
  EXPECT_FALSE(IsIeVersion(L"7.0.5730.13", L'6'));
  EXPECT_FALSE(IsIeVersion(L"7.0.5730.13", L'8'));
  EXPECT_FALSE(IsIeVersion(L"", L'8'));
  EXPECT_FALSE(IsIeVersion(L"\t8", L'8'));
}


TEST(FlashPlayerNeedsUpdate, MissingOrOlderThanTen) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"9.0.124.0", true},    {L"10.0.22.87", false}, {L"11.1.102.55", false}, {L"", true},
      {L"   ", true},          {L" 10.1 ", false},     {L"9", true},            {L"10", false},
      {L"010.0", false},       {L"09.0", true},        {L"0.1", true},          {L"-12.0", true},
      {L"abc", true},          {L"x.10", true},        {L".10", true},          {L"1e3.0", true},
      {L"99999999999999999999.0", false},              {L"+11.0", false},
  };
  for (const auto& [version, needs] : cases)
    EXPECT_EQ(FlashPlayerNeedsUpdate(version), needs) << ::testing::PrintToString(std::wstring(version));
}

}  // namespace
}  // namespace kelpo
