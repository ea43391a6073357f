// The report format: a line is a status word, four spaces and a text, counted under its status.
#include <gtest/gtest.h>

#include <string>

#include "reports/check_report.h"
#include "reports/report.h"

namespace kelpo {
namespace {

TEST(ReportLines, StatusFourSpacesTextAndSeparators) {
  EXPECT_EQ(ReportLine(report::kWarning, L"abc", L"x"), L"警告    abcx");
  EXPECT_EQ(Separator(), std::wstring(162, L'-'));
  EXPECT_EQ(Separator(report::kDisabledAddonSeparatorLength), std::wstring(161, L'-'));
}

TEST(Report, EachLineIsCountedUnderItsStatusAndSeparatorsAreNot) {
  Report report;
  report.AddLine(report::kSuccess, L"a");
  report.AddLine(report::kFailure, L"b", L"x");
  report.AddLine(report::kWarning, L"c");
  report.AddLine(report::kSuccess, L"d");
  report.AddSeparator();
  EXPECT_EQ(report.lines.size(), 5u);
  EXPECT_EQ(report.lines[1], L"失败    bx");
  EXPECT_EQ(report.successes, 2);
  EXPECT_EQ(report.failures, 1);
  EXPECT_EQ(report.warnings, 1);
  EXPECT_TRUE(report.AnyLineContains(L"bx"));
  EXPECT_FALSE(report.AnyLineContains(L"BX"));
  EXPECT_EQ(CompletionTotals(report), L"总计：4   成功： 2   失败： 1   警告： 1");
}

}  // namespace
}  // namespace kelpo
