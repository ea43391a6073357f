// The text operations the rules are stated in: trimming, replacing, cutting at a zero, and the
// ASCII letter case that names compare in.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/strings.h"

namespace kelpo {
namespace {

TEST(Trim, SpacesUnlessOtherBlanksAreNamed) {
  EXPECT_EQ(TrimBlanks(L"  a b  "), L"a b");
  EXPECT_EQ(TrimBlanks(L"\ta\t"), L"\ta\t");  // a tab is no blank of the site rules
  EXPECT_EQ(TrimBlanks(L"    "), L"");
  EXPECT_EQ(Trim(L" \t a \t ", L" \t"), L"a");
  EXPECT_EQ(TrimStart(L"  a  "), L"a  ");
  EXPECT_EQ(TrimEnd(L"  a  "), L"  a");
  EXPECT_EQ(TrimStart(L"   "), L"");
}

TEST(ReplaceAll, LeftToRightWithoutSearchingTheReplacementsAgain) {
  EXPECT_EQ(ReplaceAll(L"http://x.http://y", L"http://", L""), L"x.y");
  EXPECT_EQ(ReplaceAll(L"aaa", L"a", L"aa"), L"aaaaaa");
  EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(UpToFirstZero, TheTextBeforeItsFirstZeroInBothWidths) {
  EXPECT_EQ(CutAtZero(std::wstring(L"10,0\0junk", 9)), L"10,0");
  EXPECT_EQ(CutAtZero(L"whole"), L"whole");
  EXPECT_EQ(UpToFirstZero(std::string_view("iexplore.exe\0x", 14)), "iexplore.exe");
  EXPECT_EQ(UpToFirstZero(std::string_view("\0a", 2)), "");
}

TEST(AsciiCase, OnlyLatinLettersChange) {
  EXPECT_EQ(ToAsciiUpper(L"ToolBar 工具栏 ｔｏｏｌ"), L"TOOLBAR 工具栏 ｔｏｏｌ");
  EXPECT_TRUE(EqualsIgnoringAsciiCase(L"HtTpS", L"https"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(L"https", L"http"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(std::string_view("IEXPLORE.EXE"), std::string_view("iexplore.exe")));
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(L"HEX(2):00", L"hex("));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"he", L"hex"));
  EXPECT_TRUE(ContainsIgnoringAsciiCase(L"my Toolbar", L"TOOLBAR"));
  EXPECT_FALSE(ContainsIgnoringAsciiCase(L"ＴＯＯＬＢＡＲ", L"TOOLBAR"));
}

}  // namespace
}  // namespace kelpo
