// kelpo.exe under Wine, driven through its windows as a user would drive it.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/kelpo_fixture.h"

namespace e2e {
namespace {

// --- Start-up ------------------------------------------------------------------------------

struct MissingCase {
  std::vector<std::wstring> present;
  std::wstring named;
};

class MissingCompanion : public KelpoRun, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingCompanion, NamesTheFirstMissingFileAndEndsWhenAnswered) {
  auto run = StartWith(GetParam().present);
  const auto box = WaitForMessageBox(run->pid(), L"Kelpo");
  ASSERT_TRUE(box.has_value()) << "no message box titled Kelpo";
  EXPECT_EQ(box->text, L"系统必要的文件（" + GetParam().named + L"）不存在，请与管理员联系。");
  EXPECT_TRUE(box->has_ok);
  EXPECT_FALSE(box->has_yes);
  EXPECT_TRUE(box->has_icon);
  EXPECT_TRUE(OpenWindowCaptions(run->pid()).empty()) << "the start-up window must never show";
  if (GetParam().present.empty()) Photograph(box->window, L"missing-companion-file");
  Answer(*box, IDOK);
  ExpectEndsWithin(*run, kExitPatience);
}

INSTANTIATE_TEST_SUITE_P(StartUp, MissingCompanion,
                         ::testing::Values(MissingCase{{}, kTrustedSites},
                                           MissingCase{{kTrustedSites, kSetupFile}, kInstaller},
                                           MissingCase{{kTrustedSites, kInstaller}, kSetupFile}));

// --- The check window ------------------------------------------------------------------------

TEST_F(KelpoRun, CheckWindowOpensAloneCentredAtItsDesignedSize) {
  auto run = StartWith(kAllCompanions);
  HWND check = OpenCheckWindow(*run);
  ASSERT_NE(check, nullptr);
  Settle(check);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), std::vector<std::wstring>{L"当前系统检测"});

  const WindowSize client = ClientSize(check);
  if (const wchar_t* dpi = _wgetenv(L"KELPO_E2E_DPI")) {
    EXPECT_EQ(SystemDpi(), _wtoi(dpi)) << "the run asked for another system DPI";
  }
  EXPECT_EQ(client.width, Px(8460));
  EXPECT_EQ(client.height, Px(4785));
  RECT outer{};
  GetWindowRect(check, &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  HWND next = FindControl(check, L"btnOk");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(Caption(next), L"下一步");
  const RECT at = RectInWindow(next);
  EXPECT_EQ(at.left, Px(5400));
  EXPECT_EQ(at.top, Px(4200));
  EXPECT_EQ(at.right - at.left, Px(1215));
  EXPECT_EQ(at.bottom - at.top, Px(375));
  EXPECT_EQ(Caption(FindControl(check, L"btnClose")), L"关 闭");
  EXPECT_EQ(Caption(FindControl(check, L"Label1")), L"当前IE版本：");
  EXPECT_EQ(Caption(FindControl(check, L"lblIEVersion")), L"8.0.6001.18702");

  HWND undo = FindControl(check, L"btnCancel");
  ASSERT_NE(undo, nullptr);
  EXPECT_FALSE(IsShown(undo)) << "the undo button stays hidden";
  EXPECT_FALSE(IsShown(FindControl(check, L"lblTemp")));
  EXPECT_FALSE(ListItems(FindControl(check, L"List")).empty()) << "the check report is shown";
  EXPECT_EQ(ListItemHeight(FindControl(check, L"List")), FontCellHeight(L"宋体", 9)) << "lists show 宋体 9 pt";
  Photograph(check, L"FrmCheck");
}

TEST_F(KelpoRun, HiddenUndoButtonDoesNothingWhenPressed) {
  auto run = StartWith(kAllCompanions);
  HWND check = OpenCheckWindow(*run);
  ASSERT_NE(check, nullptr);
  Click(FindControl(check, L"btnCancel"));
  EXPECT_FALSE(WaitForMessageBox(run->pid(), L"撤消", 1500ms).has_value()) << "the undo command ran";
  EXPECT_TRUE(run->Running());
}

TEST_F(KelpoRun, CheckWindowCloseButtonEndsTheProgram) {
  auto run = StartWith(kAllCompanions);
  HWND check = OpenCheckWindow(*run);
  ASSERT_NE(check, nullptr);
  Click(FindControl(check, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

TEST_F(KelpoRun, CheckWindowClosedFromItsTitleBarEndsTheProgram) {
  auto run = StartWith(kAllCompanions);
  HWND check = OpenCheckWindow(*run);
  ASSERT_NE(check, nullptr);
  CloseFromTitleBar(check);
  ExpectEndsWithin(*run, kExitPatience);
}

// --- The trusted-site window -------------------------------------------------------------------

class TrustedSiteWindow : public KelpoRun {
 protected:
  static HWND Focused(HWND window) { return FocusedWindow(window); }

  // Types a site the list already holds, so that 添 加 answers with a message box.
  static void TypeAListedSite(HWND main) {
    HWND text_box = FindControl(main, L"txtWebSite");
    Type(text_box, L"http://www.example.com");
    ASSERT_TRUE(WaitUntil([&] { return Caption(text_box) == L"http://www.example.com"; }, 3s));
  }
};

TEST_F(TrustedSiteWindow, ReplacesTheCheckWindow) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), std::vector<std::wstring>{L"添加可信站点"});
  EXPECT_EQ(ClientSize(main).width, Px(7155));
  EXPECT_EQ(ClientSize(main).height, Px(4425));
  EXPECT_EQ(Caption(FindControl(main, L"Frame2")), L"可信站点");
  EXPECT_EQ(Caption(FindControl(main, L"Label8")), L"请将Zandrel软件开发的网站地址输入到下面的列表中");
  EXPECT_FALSE(IsEnabled(FindControl(main, L"btnDel"))) << "删 除 is disabled until a site is clicked";
  EXPECT_FALSE(IsShown(FindControl(main, L"lblIEVersion")));
  EXPECT_FALSE(IsShown(FindControl(main, L"lblTemp")));

  // The frame's controls sit at their positions inside the frame.
  const RECT text_box = RectInWindow(FindControl(main, L"txtWebSite"));
  EXPECT_EQ(text_box.left, Px(240) + Px(240));
  EXPECT_EQ(text_box.top, Px(600) + Px(600));
}

TEST_F(TrustedSiteWindow, TabKeyFollowsTheDesignedTabOrder) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  // txtWebSite 6, btnAdd 7, btnOk 16, btnClose 17, lstWebSite 18; btnDel (20) is disabled.
  const std::vector<std::wstring> order = {L"txtWebSite", L"btnAdd", L"btnOk", L"btnClose", L"lstWebSite",
                                           L"txtWebSite"};
  EXPECT_EQ(AutomationName(Focused(main)), order.front());
  for (std::size_t i = 1; i < order.size(); ++i) {
    PostMessageW(Focused(main), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(WaitUntil([&] { return AutomationName(Focused(main)) == order[i]; }, 3s))
        << "after " << i << " tab presses";
  }
}

TEST_F(TrustedSiteWindow, TypedTextReachesTheTextBoxInItsOwnFont) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  HWND text_box = FindControl(main, L"txtWebSite");
  Type(text_box, L"www.example.com");
  EXPECT_TRUE(WaitUntil([&] { return Caption(text_box) == L"www.example.com"; }, 3s));
  EXPECT_EQ(CharacterX(text_box, 14) - CharacterX(text_box, 0), TextWidth(L"宋体", 10.5, L"www.example.co"))
      << "the text box shows 宋体 10.5 pt";
}

TEST_F(TrustedSiteWindow, ListsTheZoneMapDomainsBeforeTheRanges) {
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kRanges + L"\\Range1", L"http", 2));
  ASSERT_TRUE(registry::WriteString(HKEY_CURRENT_USER, kRanges + L"\\Range1", L":Range", L"192.168.1.20"));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\intranet", L"*", 2));
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ListItems(FindControl(main, L"lstWebSite")),
            (std::vector<std::wstring>{L"http://www.example.com", L"intranet", L"http://192.168.1.20"}));
  Photograph(main, L"Main");
}

TEST_F(TrustedSiteWindow, TypedSitesAreAddedOnceAndClickedSitesRemoved) {
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, L"lstWebSite");
  HWND text_box = FindControl(main, L"txtWebSite");
  HWND remove = FindControl(main, L"btnDel");

  Type(text_box, L"http://www.zandrel.example/index.html");
  ASSERT_TRUE(WaitUntil([&] { return Caption(text_box) == L"http://www.zandrel.example/index.html"; }, 3s));
  Click(FindControl(main, L"btnAdd"));
  EXPECT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }, 3s));
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"http://www.example.com", L"http://www.zandrel.example"}));
  EXPECT_EQ(Caption(text_box), L"") << "the text box is emptied once the site is listed";

  Type(text_box, L"http://www.example.com:8080");
  ASSERT_TRUE(WaitUntil([&] { return Caption(text_box) == L"http://www.example.com:8080"; }, 3s));
  Click(FindControl(main, L"btnAdd"));
  const auto already = WaitForMessageBox(run->pid(), L"可信站点");
  ASSERT_TRUE(already.has_value());
  EXPECT_EQ(already->text, L"该站点已在 可信站点 区域中。");
  EXPECT_TRUE(already->has_ok && already->has_icon && !already->has_yes);
  EXPECT_FALSE(IsEnabled(main)) << "the message box is modal to the window";
  Answer(*already, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return IsEnabled(main); }, 3s));
  Settle(main);
  EXPECT_EQ(ListItems(list).size(), 2u);

  EXPECT_FALSE(IsEnabled(remove));
  ClickListItem(list, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(remove); }, 3s)) << "a click on a site enables 删 除";
  EXPECT_EQ(ListSelection(list), 0);
  Click(remove);
  EXPECT_TRUE(WaitUntil([&] { return ListItems(list) == std::vector<std::wstring>{L"http://www.zandrel.example"}; }, 3s));
}

TEST_F(TrustedSiteWindow, FocusReturnsToItsControlWhenTheWindowIsActiveAgain) {
  ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\example.com\\www", L"http", 2));
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  TypeAListedSite(main);
  PressKey(main, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return AutomationName(Focused(main)) == L"btnAdd"; }, 3s));

  // After a message box.
  PressKey(main, VK_RETURN);
  const auto already = WaitForMessageBox(run->pid(), L"可信站点");
  ASSERT_TRUE(already.has_value()) << "Enter on 添 加 did not press it";
  EXPECT_EQ(OwnerOf(*already), main) << "the message box belongs to the window";
  Answer(*already, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return AutomationName(Focused(main)) == L"btnAdd"; }, 3s))
      << "the focus went to " << ::testing::PrintToString(AutomationName(Focused(main)));

  // After the window was minimised and restored.
  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 3s));
  PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) == FALSE; }, 3s));
  EXPECT_TRUE(WaitUntil([&] { return AutomationName(Focused(main)) == L"btnAdd"; }, 3s))
      << "the focus went to " << ::testing::PrintToString(AutomationName(Focused(main)));
  PressKey(main, VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return AutomationName(Focused(main)) == L"btnOk"; }, 3s)) << "Tab goes on from there";
}

TEST_F(TrustedSiteWindow, DeletingASiteKeepsTheListScrolledWhereItWas) {
  for (int i = 10; i < 40; ++i)
    ASSERT_TRUE(registry::WriteDword(HKEY_CURRENT_USER, kDomains + L"\\site" + std::to_wstring(i) + L".example",
                                     L"http", 2));
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, L"lstWebSite");
  ASSERT_EQ(ListItems(list).size(), 30u);
  SendMessageW(list, LB_SETTOPINDEX, 20, 0);
  ASSERT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 20);
  ClickListItem(list, 22);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(FindControl(main, L"btnDel")); }, 3s));
  Click(FindControl(main, L"btnDel"));
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 29; }, 3s));
  EXPECT_EQ(ListItems(list)[22], L"http://site33.example") << "the clicked site is the one deleted";
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 20);
}

TEST_F(TrustedSiteWindow, CloseButtonEndsTheProgram) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  Click(FindControl(main, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

TEST_F(TrustedSiteWindow, ClosedFromItsTitleBarEndsTheProgram) {
  auto run = StartWith(kAllCompanions);
  HWND main = OpenMain(*run);
  ASSERT_NE(main, nullptr);
  CloseFromTitleBar(main);
  ExpectEndsWithin(*run, kExitPatience);
}

// --- Automatic mode ------------------------------------------------------------------------------

class AutomaticMode : public KelpoRun {
 protected:
  static constexpr char kSetup[] = "Run=AUTO\r\nURL=http://www.zandrel.example/index.html\r\n";
};

TEST_F(AutomaticMode, OpensTheCompletionWindowAlone) {
  std::unique_ptr<ProgramRun> run;
  HWND info = StartAutomatic(run, kSetup);
  ASSERT_NE(info, nullptr) << "the completion window did not open";
  Settle(info);
  EXPECT_EQ(OpenWindowCaptions(run->pid()), std::vector<std::wstring>{L"设定完成"});
  EXPECT_EQ(ClientSize(info).width, Px(7950));
  EXPECT_EQ(ClientSize(info).height, Px(5370));
  EXPECT_EQ(Caption(FindControl(info, L"btnClose")), L"关 闭");
}

TEST_F(AutomaticMode, CloseButtonEndsTheProgram) {
  std::unique_ptr<ProgramRun> run;
  HWND info = StartAutomatic(run, kSetup);
  ASSERT_NE(info, nullptr);
  Click(FindControl(info, L"btnClose"));
  ExpectEndsWithin(*run, kExitPatience);
}

TEST_F(AutomaticMode, ClosedFromItsTitleBarEndsTheProgram) {
  std::unique_ptr<ProgramRun> run;
  HWND info = StartAutomatic(run, kSetup);
  ASSERT_NE(info, nullptr);
  CloseFromTitleBar(info);
  ExpectEndsWithin(*run, kExitPatience);
}

}  // namespace
}  // namespace e2e
