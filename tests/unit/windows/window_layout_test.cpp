// What a window shows when it opens, as far as a user or a tool outside can tell: its
// automation names and captions, which controls a frame holds, the order the tab key takes,
// what is hidden or disabled, and that every visible control lies inside its container at any
// DPI. (The exact twips are the windows' declarations; they are not repeated here.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/form_layout.h"
#include "unit/program_fixture.h"
#include "windows/completion_window.h"
#include "windows/start_up_window.h"
#include "windows/system_check_window.h"
#include "windows/trusted_sites_window.h"

namespace kelpo {
namespace {

using Names = std::vector<std::wstring>;

struct Shown {
  std::wstring name;
  ControlKind kind;
  std::wstring caption;
  std::wstring container;  // empty: the window
};

void ExpectControls(const Window& window, const std::vector<Shown>& expected) {
  ASSERT_EQ(window.controls().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Control& control = *window.controls()[i];
    const Shown& e = expected[i];
    SCOPED_TRACE(::testing::Message() << "control " << i);
    EXPECT_EQ(control.name(), e.name);
    EXPECT_EQ(control.kind(), e.kind);
    EXPECT_EQ(control.caption(), e.caption);
    EXPECT_EQ(control.container() ? control.container()->name() : L"", e.container);
  }
}

// The controls the tab key reaches, in the order it reaches them.
Names TabOrder(const Window& window) {
  std::vector<const Control*> stops;
  for (const Control* control : window.controls())
    if (control->tab_index() && control->visible() && control->enabled() && control->kind() != ControlKind::kLabel &&
        control->kind() != ControlKind::kFrame)
      stops.push_back(control);
  std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) { return *a->tab_index() < *b->tab_index(); });
  Names names;
  for (const Control* control : stops) names.push_back(control->name());
  return names;
}

Names Matching(const Window& window, bool (*test)(const Control&)) {
  Names names;
  for (const Control* control : window.controls())
    if (test(*control)) names.push_back(control->name());
  return names;
}

Names Hidden(const Window& window) { return Matching(window, [](const Control& c) { return !c.visible(); }); }
Names Disabled(const Window& window) { return Matching(window, [](const Control& c) { return !c.enabled(); }); }

// Every visible control inside its container, in pixels at the DPIs Windows offers.
void ExpectVisibleControlsInside(const Window& window) {
  for (const int dpi : {96, 120, 144, 192}) {
    const auto px = [dpi](int twips) { return form_layout::TwipsToPixels(twips, dpi); };
    for (const Control* control : window.controls()) {
      if (!control->visible()) continue;
      const TwipsRect& rect = control->rect();
      const int width = control->container() ? control->container()->rect().width : window.client_width();
      const int height = control->container() ? control->container()->rect().height : window.client_height();
      SCOPED_TRACE(::testing::Message() << "dpi " << dpi << ", control " << std::string(control->name().begin(), control->name().end()));
      EXPECT_GE(rect.left, 0);
      EXPECT_GE(rect.top, 0);
      EXPECT_LE(px(rect.left) + px(rect.width), px(width) + 1);  // a pixel of rounding
      EXPECT_LE(px(rect.top) + px(rect.height), px(height) + 1);
    }
  }
}

class WindowLayoutTest : public testing::ProgramTest {};

constexpr auto kLabel = ControlKind::kLabel;
constexpr auto kButton = ControlKind::kButton;
constexpr auto kList = ControlKind::kListBox;
constexpr auto kText = ControlKind::kTextBox;
constexpr auto kFrame = ControlKind::kFrame;

TEST_F(WindowLayoutTest, StartUpWindow) {
  StartUpWindow window(context);
  EXPECT_EQ(window.name(), L"frmAutoSet");
  EXPECT_EQ(window.caption(), L"自动设定");
  ExpectControls(window, {{L"Label2", kLabel, L"Zandrel软件IE设置中，请稍等！", L""},
                          {L"lblTemp", kLabel, L"", L""},
                          {L"lblIEVersion", kLabel, L"", L""}});
  EXPECT_EQ(Hidden(window), Names{L"lblTemp"});
  EXPECT_EQ(window.setup_address(), L"");
  EXPECT_FALSE(window.automatic_mode());
}

TEST_F(WindowLayoutTest, CheckWindow) {
  SystemCheckWindow window(context);
  EXPECT_EQ(window.name(), L"FrmCheck");
  EXPECT_EQ(window.caption(), L"当前系统检测");
  ExpectControls(window, {{L"lblIEVersion", kLabel, L"", L""},
                          {L"Label1", kLabel, L"当前IE版本：", L""},
                          {L"lblTemp", kLabel, L"", L""},
                          {L"btnClose", kButton, L"关 闭", L""},
                          {L"btnOk", kButton, L"下一步", L""},
                          {L"List", kList, L"", L""},
                          {L"btnCancel", kButton, L"撤消设定", L""}});
  EXPECT_EQ(TabOrder(window), (Names{L"btnClose", L"btnOk", L"List"}));
  EXPECT_EQ(Hidden(window), (Names{L"lblTemp", L"btnCancel"}));  // the undo button stays hidden
  EXPECT_TRUE(Disabled(window).empty());
  ExpectVisibleControlsInside(window);
  EXPECT_TRUE(window.report_list.items().empty());
}

TEST_F(WindowLayoutTest, TrustedSitesWindow) {
  TrustedSitesWindow window(context);
  EXPECT_EQ(window.name(), L"Main");
  EXPECT_EQ(window.caption(), L"添加可信站点");
  ExpectControls(window, {{L"Label8", kLabel, L"请将Zandrel软件开发的网站地址输入到下面的列表中", L""},
                          {L"Frame2", kFrame, L"可信站点", L""},
                          {L"Label4", kLabel, L"将该网站添加到可信区域", L"Frame2"},
                          {L"txtWebSite", kText, L"", L"Frame2"},
                          {L"btnAdd", kButton, L"添 加", L"Frame2"},
                          {L"lstWebSite", kList, L"", L"Frame2"},
                          {L"Label5", kLabel, L"网站", L"Frame2"},
                          {L"btnDel", kButton, L"删 除", L""},
                          {L"Label6", kLabel, L"安全级别：自定义", L""},
                          {L"btnOk", kButton, L"下一步", L""},
                          {L"btnClose", kButton, L"关 闭", L""},
                          {L"lblIEVersion", kLabel, L"", L""},
                          {L"lblTemp", kLabel, L"", L""}});
  // The text box first, then its button, Next, Close and the list; Delete once it is enabled.
  EXPECT_EQ(TabOrder(window), (Names{L"txtWebSite", L"btnAdd", L"btnOk", L"btnClose", L"lstWebSite"}));
  EXPECT_EQ(Hidden(window), (Names{L"lblIEVersion", L"lblTemp"}));
  EXPECT_EQ(Disabled(window), Names{L"btnDel"});
  window.delete_button.SetEnabled(true);
  EXPECT_EQ(TabOrder(window), (Names{L"txtWebSite", L"btnAdd", L"btnOk", L"btnClose", L"lstWebSite", L"btnDel"}));
  EXPECT_EQ(window.address_box.font(), (Font{L"宋体", 10.5, false}));
  EXPECT_EQ(window.site_list.font(), DefaultFont());
  ExpectVisibleControlsInside(window);
  EXPECT_EQ(window.address_box.text(), L"");
}

TEST_F(WindowLayoutTest, CompletionWindow) {
  CompletionWindow window(context);
  EXPECT_EQ(window.name(), L"frmInfo");
  EXPECT_EQ(window.caption(), L"设定完成");
  ExpectControls(window, {{L"btnClose", kButton, L"关 闭", L""},
                          {L"List", kList, L"", L""},
                          {L"lblTemp", kLabel, L"", L""},
                          {L"Label1", kLabel, L"当前IE版本：", L""},
                          {L"lblIEVersion", kLabel, L"", L""},
                          {L"lblMsg", kLabel, L"", L""}});
  EXPECT_EQ(TabOrder(window), (Names{L"btnClose", L"List"}));
  EXPECT_EQ(Hidden(window), Names{L"lblTemp"});
  ExpectVisibleControlsInside(window);
  EXPECT_EQ(window.report().successes + window.report().failures + window.report().warnings, 0);
}

TEST_F(WindowLayoutTest, EveryWindowUsesTheDefaultFontSaveTheTextBox) {
  const SystemCheckWindow check(context);
  const TrustedSitesWindow sites(context);
  const CompletionWindow completion(context);
  for (const Window* window : {static_cast<const Window*>(&check), static_cast<const Window*>(&sites),
                               static_cast<const Window*>(&completion)})
    for (const Control* control : window->controls()) {
      if (control->kind() != ControlKind::kTextBox) {
        EXPECT_EQ(control->font(), DefaultFont());
      }
    }
}

}  // namespace
}  // namespace kelpo
