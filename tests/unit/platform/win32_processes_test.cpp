// The Windows adapter of the processes port against the real system (Wine here): what Wine
// cannot show of Windows (elevation, other users' processes) is shown here by a process that
// grants no more than the right to wait for it. Only the Windows build has it.
#ifdef _WIN32
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/message_pump.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_processes.h"

namespace kelpo {
namespace {

std::wstring StandIn() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return exe.substr(0, exe.find_last_of(L'\\')) + L"\\kelpo_stand_in.exe";
}

// The stand-in started directly, its process granting everyone the right to wait and nothing
// else, as an elevated program grants a program without elevation.
struct GuardedProgram {
  UniqueHandle process;
  DWORD pid = 0;
};

GuardedProgram StartGuarded(int milliseconds) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &descriptor,
                                                            nullptr))
    return {};
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  std::wstring line = L"\"" + StandIn() + L"\" " + std::to_wstring(milliseconds);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const BOOL ok = CreateProcessW(nullptr, line.data(), &attributes, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
  LocalFree(descriptor);
  if (!ok) return {};
  CloseHandle(started.hThread);
  return {UniqueHandle(started.hProcess), started.dwProcessId};
}

TEST(Win32Processes, TheWaitAsksOnlyForTheRightToWait) {
  const GuardedProgram program = StartGuarded(500);
  ASSERT_TRUE(program.process) << "the stand-in did not start";
  if (const UniqueHandle querying(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.pid)); querying) {
    GTEST_SKIP() << "this system grants the query right regardless (a debug privilege): nothing to tell apart";
  }
  Win32Processes processes;
  const OwnedProcess opened = processes.OpenToWait(program.pid);
  ASSERT_NE(opened, nullptr) << "a process that only lets others wait for it must still be waited for";
  processes.WaitUntilEnded(*opened);
  EXPECT_EQ(WaitForSingleObject(program.process.get(), 0), WAIT_OBJECT_0) << "the wait ended before the program";
}

// A host that counts its turns and uses up the test's own message, as the window host's keys do.
class CountingWindows final : public ProgramWindows {
 public:
  HWND FrontWindow() const override { return nullptr; }
  bool HandlePendingMessages() override {
    ++turns;
    return kelpo::HandlePendingMessages([this](const MSG& message) {
      if (message.message != WM_APP) return false;
      ++used_up;
      return true;
    });
  }
  int turns = 0;
  int used_up = 0;
};

TEST(Win32Processes, TheWaitHandlesMessagesThroughTheHostsPumpUntilTheStartedProgramEnds) {
  CountingWindows windows;
  Win32Processes processes(&windows);
  const OwnedProcess started = processes.Start(L"\"" + StandIn() + L"\" 500");
  ASSERT_NE(started, nullptr);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  processes.WaitUntilEnded(*started);
  EXPECT_GE(windows.turns, 1);
  EXPECT_EQ(windows.used_up, 1) << "the message went through the host's handling";
  const UniqueHandle check(OpenProcess(SYNCHRONIZE, FALSE, started->pid()));
  EXPECT_TRUE(!check || WaitForSingleObject(check.get(), 0) == WAIT_OBJECT_0) << "the wait ended before the program";
}

}  // namespace
}  // namespace kelpo
#endif
