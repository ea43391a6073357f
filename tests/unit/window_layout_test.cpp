// Every window's controls as they are when it opens: kind, container, caption, geometry in
// twips, tab order, font, visible and enabled.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/frm_auto_set.h"
#include "app/frm_check.h"
#include "app/frm_info.h"
#include "app/main_form.h"
#include "app_fixture.h"

namespace kelpo {
namespace {

struct Expected {
  std::wstring name;
  ControlKind kind;
  std::wstring container;  // empty: the window
  std::wstring caption;
  TwipsRect rect;
  std::optional<int> tab_index;
  bool visible = true;
  bool enabled = true;
  double font_points = 9.0;
};

constexpr auto kLabel = ControlKind::kLabel;
constexpr auto kButton = ControlKind::kButton;
constexpr auto kList = ControlKind::kListBox;
constexpr auto kText = ControlKind::kTextBox;
constexpr auto kFrame = ControlKind::kFrame;

void ExpectControls(const Window& window, const std::vector<Expected>& expected) {
  ASSERT_EQ(window.controls().size(), expected.size()) << "controls of " << window.caption().size();
  for (const Expected& e : expected) {
    SCOPED_TRACE(::testing::Message() << "control " << std::string(e.name.begin(), e.name.end()));
    const Control* control = window.FindControl(e.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind(), e.kind);
    EXPECT_EQ(control->container() ? control->container()->name() : L"", e.container);
    EXPECT_EQ(control->caption(), e.caption);
    EXPECT_EQ(control->rect(), e.rect);
    EXPECT_EQ(control->tab_index(), e.tab_index);
    EXPECT_EQ(control->visible(), e.visible);
    EXPECT_EQ(control->enabled(), e.enabled);
    EXPECT_EQ(control->font(), (Font{L"宋体", e.font_points, false}));
  }
}

class WindowLayoutTest : public testing::AppTest {};

TEST_F(WindowLayoutTest, StartUpWindow) {
  frmAutoSet window(context);
  EXPECT_EQ(window.name(), L"frmAutoSet");
  EXPECT_EQ(window.caption(), L"自动设定");
  EXPECT_EQ(window.client_width(), 4785);
  EXPECT_EQ(window.client_height(), 1380);
  ExpectControls(window, {
      {L"Label2", kLabel, L"", L"Zandrel软件IE设置中，请稍等！", {1080, 480, 3135, 375}, std::nullopt},
      {L"lblTemp", kLabel, L"", L"", {2160, 120, 2775, 135}, std::nullopt, false},
      {L"lblIEVersion", kLabel, L"", L"", {0, 0, 1335, 255}, std::nullopt},
  });
  EXPECT_EQ(window.SetupUrl, L"");
  EXPECT_FALSE(window.AutoMode);
  EXPECT_EQ(window.RangeCount, 0);
  EXPECT_EQ(window.EscRangeCount, 0);
}

TEST_F(WindowLayoutTest, CheckWindow) {
  FrmCheck window(context);
  EXPECT_EQ(window.name(), L"FrmCheck");
  EXPECT_EQ(window.caption(), L"当前系统检测");
  EXPECT_EQ(window.client_width(), 8460);
  EXPECT_EQ(window.client_height(), 4785);
  ExpectControls(window, {
      {L"lblIEVersion", kLabel, L"", L"", {1680, 240, 1335, 255}, 0},
      {L"Label1", kLabel, L"", L"当前IE版本：", {480, 240, 1095, 255}, 1},
      {L"lblTemp", kLabel, L"", L"", {600, 3360, 1695, 255}, 2, false},
      {L"btnClose", kButton, L"", L"关 闭", {6840, 4200, 1095, 375}, 3},
      {L"btnOk", kButton, L"", L"下一步", {5400, 4200, 1215, 375}, 4},
      {L"List", kList, L"", L"", {480, 720, 7455, 3300}, 5},
      {L"btnCancel", kButton, L"", L"撤消设定", {480, 4200, 1215, 375}, 6, false},
  });
  EXPECT_TRUE(window.List.items().empty());
}

TEST_F(WindowLayoutTest, TrustedSiteWindow) {
  Main window(context);
  EXPECT_EQ(window.name(), L"Main");
  EXPECT_EQ(window.caption(), L"添加可信站点");
  EXPECT_EQ(window.client_width(), 7155);
  EXPECT_EQ(window.client_height(), 4425);
  ExpectControls(window, {
      {L"Label8", kLabel, L"", L"请将Zandrel软件开发的网站地址输入到下面的列表中", {360, 240, 6135, 255}, 25},
      {L"Frame2", kFrame, L"", L"可信站点", {240, 600, 6495, 3015}, 3},
      {L"Label4", kLabel, L"Frame2", L"将该网站添加到可信区域", {240, 360, 2295, 255}, 5},
      {L"txtWebSite", kText, L"Frame2", L"", {240, 600, 4815, 330}, 6, true, true, 10.5},
      {L"btnAdd", kButton, L"Frame2", L"添 加", {5160, 600, 855, 375}, 7},
      {L"lstWebSite", kList, L"Frame2", L"", {240, 1320, 4815, 1320}, 18},
      {L"Label5", kLabel, L"Frame2", L"网站", {240, 1440, 855, 255}, 8},
      {L"btnDel", kButton, L"", L"删 除", {5400, 1920, 855, 375}, 20, true, false},
      {L"Label6", kLabel, L"", L"安全级别：自定义", {2160, 2640, 1575, 255}, 23},
      {L"btnOk", kButton, L"", L"下一步", {4200, 3840, 1215, 375}, 16},
      {L"btnClose", kButton, L"", L"关 闭", {5640, 3840, 1095, 375}, 17},
      {L"lblIEVersion", kLabel, L"", L"", {2760, 4680, 1335, 255}, std::nullopt, false},
      {L"lblTemp", kLabel, L"", L"", {360, 7920, 1695, 255}, std::nullopt, false},
  });
  EXPECT_EQ(window.txtWebSite.text(), L"");
}

TEST_F(WindowLayoutTest, CompletionWindow) {
  frmInfo window(context);
  EXPECT_EQ(window.name(), L"frmInfo");
  EXPECT_EQ(window.caption(), L"设定完成");
  EXPECT_EQ(window.client_width(), 7950);
  EXPECT_EQ(window.client_height(), 5370);
  ExpectControls(window, {
      {L"btnClose", kButton, L"", L"关 闭", {6600, 4680, 1095, 375}, 0},
      {L"List", kList, L"", L"", {240, 1200, 7455, 3300}, 1},
      {L"lblTemp", kLabel, L"", L"", {360, 3840, 1695, 255}, 2, false},
      {L"Label1", kLabel, L"", L"当前IE版本：", {240, 240, 1095, 255}, 3},
      {L"lblIEVersion", kLabel, L"", L"", {1440, 240, 1335, 255}, 4},
      {L"lblMsg", kLabel, L"", L"", {360, 720, 7335, 375}, 5},
  });
  EXPECT_EQ(window.SuccessCount, 0);
  EXPECT_EQ(window.FailureCount, 0);
}

}  // namespace
}  // namespace kelpo
