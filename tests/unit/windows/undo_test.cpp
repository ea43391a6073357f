// The check window's undo command: the question, the import of backup.reg waited for, the
// report rebuilt from the registry, the closing message.
#include <gtest/gtest.h>

#include "unit/program_fixture.h"
#include "windows/system_check_window.h"

namespace kelpo {
namespace {

const std::wstring kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";

class UndoTest : public testing::ProgramTest {
 protected:
  SystemCheckWindow& Check() {
    SetDword(reg::kCurrentUser, kNewWindows, L"PopupMgr", 0);
    SystemCheckWindow& check = Open<SystemCheckWindow>();
    desktop.ClearMessages();
    return check;
  }
  std::vector<std::wstring> Shown() const {
    std::vector<std::wstring> shown;
    for (const ShownMessage& m : desktop.messages())
      shown.push_back(m.text + L"|" + m.title + L"|" + std::to_wstring(m.flags));
    return shown;
  }
  std::vector<std::wstring> Started() const {
    std::vector<std::wstring> started;
    for (const ProcCall& call : processes.journal())
      if (call.op == ProcOp::kStart) started.push_back(call.command_line);
    return started;
  }
};

TEST_F(UndoTest, ImportsTheBackupWaitsAndRebuildsTheReport) {
  files.PutCompanion(L"backup.reg", "REGEDIT4\r\n");
  SystemCheckWindow& check = Check();
  ASSERT_EQ(check.report_list.items().front(), L"成功    关闭弹出窗口阻止程序");
  // The import restores the pop-up blocker while the command waits for it.
  processes.set_on_wait([&](std::uint32_t) { SetDword(reg::kCurrentUser, kNewWindows, L"PopupMgr", 1); });
  check.OnUndoClicked();
  EXPECT_EQ(Started(), (std::vector<std::wstring>{
                           L"regedit.exe  /s \"C:\\Program Files\\Kelpo\\backup.reg\""}));
  // Waited for through the handle its start returned, which is then closed.
  ASSERT_EQ(processes.journal().size(), 2u);
  EXPECT_EQ(processes.journal().back().op, ProcOp::kWait);
  EXPECT_EQ(processes.journal().back().pid, processes.journal().front().pid);
  EXPECT_EQ(processes.open_handles(), 0);
  EXPECT_EQ(check.report_list.items().front(), L"警告    关闭弹出窗口阻止程序");
  EXPECT_EQ(std::count(check.report_list.items().begin(), check.report_list.items().end(), L"警告    关闭弹出窗口阻止程序"), 1);
  EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"确定要撤消修改的IE属性吗？|撤消|68", L"撤消成功！|撤消|64"}));
}

TEST_F(UndoTest, AnsweringNoLeavesEverythingAsItWas) {
  files.PutCompanion(L"backup.reg");
  SystemCheckWindow& check = Check();
  const auto before = check.report_list.items();
  desktop.QueueAnswer(box::kAnswerNo);
  check.OnUndoClicked();
  EXPECT_TRUE(Started().empty());
  EXPECT_EQ(check.report_list.items(), before);
  EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(UndoTest, MissingBackupAsksNothingAndStillRebuildsAndSucceeds) {
  SystemCheckWindow& check = Check();
  SetDword(reg::kCurrentUser, kNewWindows, L"PopupMgr", 5);
  check.OnUndoClicked();
  EXPECT_TRUE(Started().empty());
  EXPECT_EQ(check.report_list.items().front(), L"警告    关闭弹出窗口阻止程序");
  EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"撤消成功！|撤消|64"}));
}

TEST_F(UndoTest, EditorThatCannotStartStillEndsInSuccess) {
  files.set_program_folder(L"D:\\IE Tools\\Kelpo v2");
  files.PutCompanion(L"backup.reg");
  SystemCheckWindow& check = Check();
  processes.InjectFault({ProcOp::kStart, L"", false});
  check.OnUndoClicked();
  EXPECT_EQ(Started(), (std::vector<std::wstring>{L"regedit.exe  /s \"D:\\IE Tools\\Kelpo v2\\backup.reg\""}));
  EXPECT_EQ(Shown().back(), L"撤消成功！|撤消|64");
}

}  // namespace
}  // namespace kelpo
