// The Windows adapters of the files and desktop ports, against the real system (Wine here).
// Only the Windows build has them.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/message_pump.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text_codec.h"
#include "text/ansi_lines.h"

namespace kelpo {
namespace {

class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"kelpo_files_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& path : made_) {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring Make(const std::wstring& name, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring path = folder_ + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    SetFileAttributesW(path.c_str(), attributes);
    made_.insert(made_.begin(), path);
    return path;
  }

  std::vector<std::wstring> Read(const std::wstring& path, bool* ok = nullptr) {
    std::vector<std::wstring> lines;
    const bool read = ReadAnsiLines(files_, codec_, path, [&](const std::wstring& line) {
      lines.push_back(line);
      return true;
    });
    if (ok) *ok = read;
    return lines;
  }

  Win32TextCodec codec_{936};
  Win32Files files_;
  std::wstring folder_;
  std::vector<std::wstring> made_;
};

TEST_F(Win32FilesTest, ProgramFolderIsTheExecutablesFolderWithoutATrailingSeparator) {
  const std::wstring folder = files_.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  wchar_t exe[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring exe_path(exe, length);
  EXPECT_EQ(exe_path.substr(0, folder.size() + 1), folder + L"\\");
  EXPECT_TRUE(files_.Exists(exe_path));
}

TEST_F(Win32FilesTest, OnlyNormalFilesExist) {
  EXPECT_TRUE(files_.Exists(Make(L"plain.reg", "x")));
  EXPECT_TRUE(files_.Exists(Make(L"readonly.reg", "x", FILE_ATTRIBUTE_READONLY)));
  EXPECT_TRUE(files_.Exists(Make(L"archive.reg", "x", FILE_ATTRIBUTE_ARCHIVE)));
  EXPECT_FALSE(files_.Exists(Make(L"hidden.reg", "x", FILE_ATTRIBUTE_HIDDEN)));
  EXPECT_FALSE(files_.Exists(Make(L"system.reg", "x", FILE_ATTRIBUTE_SYSTEM)));
  const std::wstring sub = folder_ + L"\\folder.reg";
  CreateDirectoryW(sub.c_str(), nullptr);
  made_.insert(made_.begin(), sub);
  EXPECT_FALSE(files_.Exists(sub));
  EXPECT_FALSE(files_.Exists(folder_ + L"\\absent.reg"));
  EXPECT_FALSE(files_.Exists(std::wstring(L"C:\\x\0y", 6)));
}

TEST_F(Win32FilesTest, ReadsLinesByTheLineEndRuleInTheCodePage) {
  const auto path = Make(L"Kelpo.ini", ";c\r\nRun=AUTO\rURL=\xB9\xA4\xBE\xDF\n\xC0\xB8\r\n\r\nlast");
  EXPECT_EQ(Read(path), (std::vector<std::wstring>{L";c", L"Run=AUTO", L"URL=工具\n栏", L"", L"last"}));
}

TEST_F(Win32FilesTest, ALineEndAcrossTheReadChunkAndAMegabyteLine) {
  std::string bytes(64 * 1024 - 1, 'a');
  bytes += "\r\nb";
  bytes += std::string(1 << 20, 'c');
  const auto lines = Read(Make(L"big.ini", bytes));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 64u * 1024 - 1);
  EXPECT_EQ(lines[1].size(), (1u << 20) + 1);
}

TEST_F(Win32FilesTest, AFileThatCannotBeOpenedFails) {
  const auto path = Make(L"locked.ini", "URL=x\r");
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  bool ok = true;
  EXPECT_TRUE(Read(path, &ok).empty());
  EXPECT_FALSE(ok);
  CloseHandle(lock);
  EXPECT_EQ(Read(path, &ok), std::vector<std::wstring>{L"URL=x"});
  EXPECT_TRUE(ok);
  Read(folder_ + L"\\absent.ini", &ok);
  EXPECT_FALSE(ok);
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return DefWindowProcW(window, message, w, l);
}

// Which keys the registry adapter opens in the 32-bit view: all below the local machine, and
// below the current user only Software\Classes, however its path is spelt or reached.
TEST(Win32RegistryView, OnlyTheMachineAndTheUsersClassesAreThirtyTwoBit) {
  using Place = Win32Registry::Place;
  Win32Registry registry;
  EXPECT_EQ(registry.PlaceOf(reg::kLocalMachine, "SOFTWARE\\Microsoft"), Place::kMachine);
  EXPECT_EQ(registry.PlaceOf(reg::kClassesRoot, ""), Place::kMachine);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, ""), Place::kUser);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "Software"), Place::kUserSoftware);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "software\\CLASSES\\CLSID"), Place::kUserClasses);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "Software\\\\Classes"), Place::kUserClasses);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "Software\\Microsoft\\Classes"), Place::kUserShared);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "SoftwareX\\Classes"), Place::kUserShared);
  EXPECT_EQ(registry.PlaceOf(reg::kCurrentUser, "Classes"), Place::kUserShared);
  // Reached a key at a time through keys held open.
  HKey software = 0, microsoft = 0;
  ASSERT_EQ(registry.OpenKeyEx(reg::kCurrentUser, "Software", reg::kKeyRead, &software), reg::kSuccess);
  ASSERT_EQ(registry.CreateKey(software, "Microsoft", &microsoft), reg::kSuccess);
  EXPECT_EQ(registry.PlaceOf(software, "Classes"), Place::kUserClasses);
  EXPECT_EQ(registry.PlaceOf(software, "Microsoft"), Place::kUserShared);
  EXPECT_EQ(registry.PlaceOf(microsoft, "Classes"), Place::kUserShared);
  EXPECT_EQ(registry.CloseKey(microsoft), reg::kSuccess);
  EXPECT_EQ(registry.CloseKey(software), reg::kSuccess);
}

TEST(Win32Desktop, HandlesThePendingMessagesOnceAndKeepsAQuit) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = CountingProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"KelpoPendingTest";
  RegisterClassW(&window_class);
  HWND window = CreateWindowW(L"KelpoPendingTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  int count = 0;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));

  Win32Desktop desktop;
  PostMessageW(window, WM_APP, 0, 0);
  PostMessageW(window, WM_APP, 0, 0);
  desktop.HandlePendingMessages();
  EXPECT_EQ(count, 2);

  PostQuitMessage(3);
  PostMessageW(window, WM_APP, 0, 0);
  desktop.HandlePendingMessages();
  MSG message{};
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
  desktop.HandlePendingMessages();
  EXPECT_EQ(count, 3);
  DestroyWindow(window);
}

// The host's front window, whatever window of the thread is active.
class FixedFront final : public ProgramWindows {
 public:
  explicit FixedFront(HWND front) : front_(front) {}
  HWND FrontWindow() const override { return front_; }
  bool HandlePendingMessages() override { return kelpo::HandlePendingMessages(nullptr); }

 private:
  HWND front_;
};

struct SeenBox {
  HWND owner = nullptr;
  bool found = false;
};
SeenBox seen_box;

// Runs inside the message box's own loop: notes its owner and answers it.
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Kelpo owner test");
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  seen_box = {GetWindow(box, GW_OWNER), true};
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Win32Desktop, AMessageBoxBelongsToTheHostsFrontWindowNotToTheActiveOne) {
  const auto make = [] {
    return CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  };
  HWND front = make();
  HWND other = make();
  ASSERT_TRUE(front != nullptr && other != nullptr);
  SetActiveWindow(other);
  FixedFront host(front);
  Win32Desktop desktop;
  desktop.Attach(&host);
  seen_box = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerTheBox);
  EXPECT_EQ(desktop.ShowMessage(L"text", L"Kelpo owner test", 0x40), IDOK);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(seen_box.found);
  EXPECT_EQ(seen_box.owner, front);
  DestroyWindow(other);
  DestroyWindow(front);
}

}  // namespace
}  // namespace kelpo
#endif
