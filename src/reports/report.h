#pragma once
// A report as the check window and the completion window show it: lines of a status word,
// four spaces and a description, or separators of hyphens; and how many lines of each status.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelpo {

namespace report {
inline constexpr std::wstring_view kSuccess = L"成功";
inline constexpr std::wstring_view kWarning = L"警告";
inline constexpr std::wstring_view kFailure = L"失败";

// Separators of the checks and the check window's add-on lines, and of the completion
// window's add-on lines.
inline constexpr std::size_t kSeparatorLength = 162;
inline constexpr std::size_t kDisabledAddonSeparatorLength = 161;

// Descriptions; a variable part (a version, an add-on name) follows the text directly.
inline constexpr std::wstring_view kPopupBlocker = L"关闭弹出窗口阻止程序";
inline constexpr std::wstring_view kServerVerification = L"关闭对该区域中的所有站点要求服务器验证(https:)";
inline constexpr std::wstring_view kCustomLevel = L"设定可信任站点安全级别为自定义级别";
inline constexpr std::wstring_view kTabsInNewTab = L"选项卡--遇到弹出窗口时：始终在新选项卡中打开窗口";
inline constexpr std::wstring_view kTabsIeDecides = L"选项卡--遇到弹出窗口时：由IE决定如何打开弹出窗口";
inline constexpr std::wstring_view kTabsInNewWindow = L"选项卡--遇到弹出窗口时：始终在新窗口中打开窗口";
inline constexpr std::wstring_view kFlashMissing = L"Flash player尚未安装";
inline constexpr std::wstring_view kFlashTooOld = L"Flash player当前版本过低";
inline constexpr std::wstring_view kFlashVersionIs = L"Flash player当前版本为";
inline constexpr std::wstring_view kOtherToolbarInstalled = L"已安装其他IE工具栏：";
inline constexpr std::wstring_view kToolbarDisabled = L"已禁用";
inline constexpr std::wstring_view kToolbarNotDisabled = L"禁用其他IE工具栏：";
}  // namespace report

// The status word, four spaces, the description and the variable part.
std::wstring ReportLine(std::wstring_view status, std::wstring_view text, std::wstring_view variable = {});
// A separator of `length` hyphens.
std::wstring Separator(std::size_t length = report::kSeparatorLength);

struct Report {
  std::vector<std::wstring> lines;
  int successes = 0;
  int failures = 0;
  int warnings = 0;

  // A line, counted under its status.
  void AddLine(std::wstring_view status, std::wstring_view text, std::wstring_view variable = {});
  void AddSeparator(std::size_t length = report::kSeparatorLength) { lines.push_back(Separator(length)); }
  // True when a line holds the text anywhere, exactly.
  bool AnyLineContains(std::wstring_view text) const;
};

}  // namespace kelpo
