// Faults of the file calls: a companion-file test, the program folder or the set-up file that
// fails or throws never brings the program down; the apply paths still end where they should.
#include <gtest/gtest.h>

#include "unit/apply/apply_fixture.h"
#include "unit/program_fixture.h"
#include "windows/start_up_window.h"

namespace kelpo::testing {
namespace {

using Names = std::vector<std::wstring>;

// Every file call of an interactive apply, failing and then throwing, one at a time.
TEST(FileFaults, InteractiveApplyStopsOnAFailedFileTestAndEndsOnAFailedFolder) {
  for (const FileOp op : {FileOp::kExists, FileOp::kProgramFolder}) {
    for (const bool throws : {false, true}) {
      for (int occurrence = 0; occurrence < 4; ++occurrence) {
        SCOPED_TRACE(std::to_string(static_cast<int>(op)) + (throws ? " throws, call " : " fails, call ") +
                     std::to_string(occurrence));
        ApplyMachine machine;
        machine.files.InjectFault({op, L"", throws, 5, occurrence, 1});
        FakeApplyWindow window(machine);
        window.sites = {L"http://www.example.com", L"intranet"};
        window.Apply();
        for (const RegCall& call : machine.registry.journal())
          if (call.op == RegOp::kCreateKey || call.op == RegOp::kSetValue || call.op == RegOp::kDeleteKey) {
            EXPECT_EQ(call.path.rfind("HKEY_CURRENT_USER\\", 0), 0u) << call.path;
          }
        if (occurrence < 2) {
          // The two file tests: one that fails or breaks down (its folder included) counts the
          // file as missing, and nothing is applied.
          ASSERT_FALSE(machine.desktop.messages().empty());
          EXPECT_NE(machine.desktop.messages()[0].text.find(L"不存在"), std::wstring::npos);
          EXPECT_TRUE(machine.registry.journal().empty());
          EXPECT_FALSE(window.completion_opened);
        } else {
          EXPECT_TRUE(window.Completed());
        }
        EXPECT_EQ(machine.registry.open_handle_count(), 0u);
      }
    }
  }
}

class StartUpFileFaults : public ProgramTest {
 protected:
  void StartUp() { windows.Show(std::make_unique<StartUpWindow>(context)); }
};

TEST_F(StartUpFileFaults, AFileTestThatThrowsCountsTheFileAsMissing) {
  PutCompanionFiles();
  files.InjectFault({FileOp::kExists, L"install_flash_player", true, 5});
  StartUp();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, L"系统必要的文件（install_flash_player_10_active_x.exe）不存在，请与管理员联系。");
  EXPECT_TRUE(windows.program_ended());
}

TEST_F(StartUpFileFaults, ASetUpFileWhoseReadThrowsReadsAsEmpty) {
  PutCompanionFiles("Run=AUTO\r\nURL=intranet\r\n");
  files.InjectFault({FileOp::kReadBlocks, L"Kelpo.ini", true, 7});
  StartUp();
  EXPECT_EQ(OpenWindowNames(), Names{L"FrmCheck"});
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(StartUpFileFaults, AutomaticApplyWithAFolderThatThrowsStillReports) {
  PutCompanionFiles("Run=AUTO\r\nURL=intranet\r\n");
  // The start-up's own file tests pass; every later look at the folder breaks down.
  files.InjectFault({FileOp::kProgramFolder, L"", true, 5, 4});
  StartUp();
  EXPECT_EQ(OpenWindowNames(), Names{L"frmInfo"});
  EXPECT_TRUE(KeyExists(reg::kCurrentUser,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscDomains\\intranet"));
}

}  // namespace
}  // namespace kelpo::testing
