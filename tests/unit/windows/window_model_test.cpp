// The control models and the window manager: what a click does, what the host is told, and
// what loading, unloading and ending the program do.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "windows/controls.h"
#include "windows/window.h"
#include "windows/window_manager.h"

namespace kelpo {
namespace {

class TestWindow final : public Window {
 public:
  explicit TestWindow(std::vector<std::wstring>* log, std::wstring name = L"TestWindow")
      : Window(name, L"caption", 100, 200), log_(log) {}
  Button button{*this, {.name = L"button", .rect = {1, 2, 3, 4}, .caption = L"go", .tab_index = 0}};
  ListBox list{*this, {.name = L"list", .tab_index = 1}};
  std::function<void()> on_load;
  void OnLoad() override {
    log_->push_back(name() + L".OnLoad");
    if (on_load) on_load();
  }

 private:
  std::vector<std::wstring>* log_;
};

class RecordingHost final : public WindowHost {
 public:
  explicit RecordingHost(std::vector<std::wstring>* log) : log_(log) {}
  void Shown(Window& window) override { log_->push_back(window.name() + L" shown"); }
  void Unloaded(Window& window) override { log_->push_back(window.name() + L" unloaded"); }

 private:
  std::vector<std::wstring>* log_;
};

TEST(Controls, AWindowOwnsItsControlsInDeclarationOrder) {
  std::vector<std::wstring> log;
  TestWindow window(&log);
  ASSERT_EQ(window.controls().size(), 2u);
  EXPECT_EQ(window.controls()[0], &window.button);
  EXPECT_EQ(window.FindControl(L"list"), &window.list);
  EXPECT_EQ(window.FindControl(L"none"), nullptr);
  EXPECT_EQ(window.button.font(), (Font{L"宋体", 9.0, false}));
}

TEST(Controls, AClickReachesTheHandlerOnlyWhenTheButtonIsVisibleAndEnabled) {
  std::vector<std::wstring> log;
  TestWindow window(&log);
  int clicks = 0;
  window.button.on_click = [&] { ++clicks; };
  window.button.Click();
  window.button.SetEnabled(false);
  window.button.Click();
  window.button.SetEnabled(true);
  window.button.SetVisible(false);
  window.button.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(Controls, ListBoxKeepsItemsInOrderAndOneSelection) {
  std::vector<std::wstring> log;
  TestWindow window(&log);
  ListBox& list = window.list;
  int changes = 0;
  int clicks = 0;
  list.on_change = [&](Control&) { ++changes; };
  list.on_click = [&] { ++clicks; };
  list.AddItem(L"b");
  list.AddItem(L"a");
  list.AddItem(L"b");
  EXPECT_EQ(list.items(), (std::vector<std::wstring>{L"b", L"a", L"b"}));
  EXPECT_EQ(list.ListIndex(), ListBox::kNoSelection);
  list.Click(1);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(clicks, 1);
  list.Click(7);  // no such item: the selection stays, the click still counts
  EXPECT_EQ(list.ListIndex(), 1);
  list.RemoveItem(1);
  EXPECT_EQ(list.items(), (std::vector<std::wstring>{L"b", L"b"}));
  EXPECT_EQ(list.ListIndex(), ListBox::kNoSelection);
  list.RemoveItem(5);
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(changes, 6);  // three adds, one selection, one removal, the clearing
}

TEST(WindowManager, LoadsThenShowsAndAWindowThatUnloadsWhileLoadingIsNeverShown) {
  std::vector<std::wstring> log;
  SimDesktop desktop;
  WindowManager windows(desktop);
  RecordingHost host(&log);
  windows.set_host(&host);
  auto first = std::make_unique<TestWindow>(&log, L"First");
  TestWindow* first_window = first.get();
  first_window->on_load = [&] {
    windows.Show(std::make_unique<TestWindow>(&log, L"Second"));
    windows.Unload(*first_window);
    log.push_back(L"First goes on after its unload");
  };
  windows.Show(std::move(first));
  EXPECT_EQ(log, (std::vector<std::wstring>{L"First.OnLoad", L"Second.OnLoad", L"Second shown",
                                            L"First unloaded", L"First goes on after its unload"}));
  ASSERT_EQ(windows.open_windows().size(), 1u);
  EXPECT_EQ(windows.open_windows()[0]->name(), L"Second");
  EXPECT_FALSE(windows.program_ended());
  windows.DisposeUnloaded();
}

TEST(WindowManager, UnloadingTheLastWindowEndsTheProgramWithoutEndProgram) {
  std::vector<std::wstring> log;
  SimDesktop desktop;
  WindowManager windows(desktop);
  windows.Show(std::make_unique<TestWindow>(&log));
  EXPECT_FALSE(windows.program_ended());
  windows.Unload(*windows.open_windows()[0]);
  EXPECT_TRUE(windows.program_ended());
  EXPECT_FALSE(desktop.ended());
}

TEST(WindowManager, EndProgramUnloadsEveryWindowAndNothingOpensAfterwards) {
  std::vector<std::wstring> log;
  SimDesktop desktop;
  WindowManager windows(desktop);
  RecordingHost host(&log);
  windows.set_host(&host);
  windows.Show(std::make_unique<TestWindow>(&log, L"A"));
  windows.Show(std::make_unique<TestWindow>(&log, L"B"));
  log.clear();
  windows.EndProgram();
  EXPECT_TRUE(desktop.ended());
  EXPECT_TRUE(windows.program_ended());
  EXPECT_TRUE(windows.open_windows().empty());
  windows.Show(std::make_unique<TestWindow>(&log, L"C"));
  EXPECT_TRUE(windows.open_windows().empty());
  EXPECT_EQ(log, (std::vector<std::wstring>{L"B unloaded", L"A unloaded"}));
}

// --- An operation run to its end: a Close meanwhile waits for it. ---

class RunToEndTest : public ::testing::Test {
 protected:
  RunToEndTest() {
    windows.set_host(&host);
    windows.Show(std::make_unique<TestWindow>(&log, L"Main"));
    main = windows.open_windows()[0];
    log.clear();
  }
  std::vector<std::wstring> log;
  SimDesktop desktop;
  WindowManager windows{desktop};
  RecordingHost host{&log};
  Window* main = nullptr;
};

TEST_F(RunToEndTest, WithoutARequestTheOperationOpensItsWindowAndUnloadsItsOwnOnceItReturns) {
  windows.RunToEnd(*main, [&] {
    windows.Show(std::make_unique<TestWindow>(&log, L"Info"));
    windows.Unload(*main);
    log.push_back(L"operation ends");
  });
  EXPECT_EQ(log, (std::vector<std::wstring>{L"Info.OnLoad", L"Info shown", L"operation ends", L"Main unloaded"}));
  ASSERT_EQ(windows.open_windows().size(), 1u);
  EXPECT_EQ(windows.open_windows()[0]->name(), L"Info");
  EXPECT_FALSE(windows.program_ended());
}

TEST_F(RunToEndTest, EndingTheProgramMeanwhileWaitsForTheOperationAndOpensNothing) {
  windows.RunToEnd(*main, [&] {
    windows.EndProgram();  // 关 闭, pressed while the operation waits
    log.push_back(desktop.ended() ? L"ended too soon" : L"operation goes on");
    windows.Show(std::make_unique<TestWindow>(&log, L"Info"));
    windows.Unload(*main);
    log.push_back(L"operation ends");
  });
  EXPECT_EQ(log, (std::vector<std::wstring>{L"operation goes on", L"operation ends", L"Main unloaded"}));
  EXPECT_TRUE(desktop.ended());
  EXPECT_TRUE(windows.program_ended());
  EXPECT_TRUE(windows.open_windows().empty());
}

TEST_F(RunToEndTest, ClosingTheWindowMeanwhileUnloadsItOnceTheOperationReturnsAndOpensNothing) {
  windows.RunToEnd(*main, [&] {
    windows.Unload(*main);  // its title bar
    log.push_back(windows.program_ended() ? L"ended too soon" : L"operation goes on");
    windows.Show(std::make_unique<TestWindow>(&log, L"Info"));
    log.push_back(L"operation ends");
  });
  EXPECT_EQ(log, (std::vector<std::wstring>{L"operation goes on", L"operation ends", L"Main unloaded"}));
  EXPECT_TRUE(windows.program_ended());
  EXPECT_FALSE(desktop.ended());
}

TEST_F(RunToEndTest, AHeldEndIsCarriedOutEvenWhenTheOperationThrows) {
  EXPECT_THROW(windows.RunToEnd(*main, [&] {
    windows.EndProgram();
    throw std::runtime_error("broke");
  }), std::runtime_error);
  EXPECT_TRUE(desktop.ended());
  EXPECT_TRUE(windows.open_windows().empty());
}

TEST_F(RunToEndTest, OnceTheOperationHasReturnedACloseActsAtOnceAgain) {
  windows.RunToEnd(*main, [] {});
  EXPECT_FALSE(windows.program_ended());
  windows.EndProgram();
  EXPECT_TRUE(desktop.ended());
}

}  // namespace
}  // namespace kelpo
