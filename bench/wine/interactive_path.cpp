// The whole interactive path through kelpo.exe, driven from outside as a user would drive it,
// against regedit /s importing the same entries.
#include <windows.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "e2e/ui_driver.h"
#include "measures.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_handles.h"

namespace kelpo::bench {
namespace {

constexpr wchar_t kCheckCaption[] = L"当前系统检测";
constexpr wchar_t kTrustedCaption[] = L"添加可信站点";
constexpr wchar_t kQuestionTitle[] = L"Internet 选项";
constexpr wchar_t kCompletionCaption[] = L"设定完成";
constexpr DWORD kPatienceMs = 60000;
// Short enough to be a small part of each step, long enough to leave the one core to the program.
constexpr DWORD kPollMs = 5;

// Polls the probe until it gives something; null/empty after the patience.
template <typename Probe>
auto PollFor(Probe probe) -> decltype(probe()) {
  const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
  for (;;) {
    if (auto found = probe()) return found;
    if (GetTickCount64() >= deadline) return {};
    Sleep(kPollMs);
  }
}

HWND WindowShown(std::uint32_t pid, const wchar_t* caption) {
  return PollFor([&] { return e2e::WaitForWindow(pid, caption, std::chrono::milliseconds(0)); });
}

// The browser the program meets: Internet Explorer 8 and a Flash Player above 9, so that no
// installer is started. Written in the 32-bit view, where the program reads them.
bool SeedBrowser() {
  const auto write = [](const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
      return false;
    const LONG status = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
  };
  return write(L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702") &&
         write(L"SOFTWARE\\Macromedia\\FlashPlayer", L"CurrentVersion", L"10,0,22,87");
}

// A program folder of its own: kelpo.exe from the build folder, an empty registry script, the
// stand-in installer and a set-up file that names no site.
std::wstring MakeProgramFolder() {
  const std::wstring bench_folder = Win32Files().ProgramFolder();
  const std::wstring folder = bench_folder + L"\\interactive";
  CreateDirectoryW(folder.c_str(), nullptr);
  if (!CopyFileW((bench_folder + L"\\..\\..\\kelpo.exe").c_str(), (folder + L"\\kelpo.exe").c_str(), FALSE)) return {};
  if (!WriteFileBytes(folder + L"\\TrustedSites.reg", "REGEDIT4\r\n\r\n") ||
      !WriteFileBytes(folder + L"\\install_flash_player_10_active_x.exe", "") ||
      !WriteFileBytes(folder + L"\\Kelpo.ini", "; no site of its own, not automatic\r\n"))
    return {};
  return folder;
}

std::string Utf8(const wchar_t* text) {
  char bytes[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

BOOL CALLBACK AddChildText(HWND child, LPARAM text) {
  wchar_t caption[512] = {};
  GetWindowTextW(child, caption, 512);
  *reinterpret_cast<std::string*>(text) += " / " + Utf8(caption);
  return TRUE;
}

struct SeenWindows {
  std::uint32_t pid;
  std::string text;
};

BOOL CALLBACK AddWindow(HWND window, LPARAM data) {
  auto& seen = *reinterpret_cast<SeenWindows*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != seen.pid) return TRUE;
  char name[64] = {};
  GetClassNameA(window, name, 64);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  seen.text += std::string(" [") + name + (IsWindowVisible(window) ? " visible " : " hidden ") + Utf8(title);
  EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&seen.text));
  seen.text += "]";
  return TRUE;
}

// What the program shows instead (a message box, say), for the report of a run that went wrong.
std::string Seen(std::uint32_t pid, HANDLE process) {
  SeenWindows seen{pid, "; windows:"};
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&seen));
  DWORD code = 0;
  if (GetExitCodeProcess(process, &code) && code != STILL_ACTIVE) seen.text += "; the program ended with " + std::to_string(code);
  return seen.text;
}

struct OneRun {
  bool done = false;
  std::string why;
  double total = 0;            // start to the completion window shown
  double start_to_check = 0;   // start to the check window shown
  double next_to_trusted = 0;  // the check window's Next to the trusted-site window shown
  int listed = 0;
};

OneRun RunThePath(const std::wstring& folder) {
  OneRun run;
  const std::wstring exe = folder + L"\\kelpo.exe";
  std::wstring command_line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const Stopwatch clock;
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &started)) {
    run.why = "kelpo.exe did not start";
    return run;
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  const auto pid = static_cast<std::uint32_t>(started.dwProcessId);
  const auto step = [&]() -> std::string {
    HWND check = WindowShown(pid, kCheckCaption);
    if (check == nullptr) return "the check window did not open" + Seen(pid, process.get());
    run.start_to_check = clock.Seconds();
    const double next_pressed = clock.Seconds();
    e2e::Click(e2e::FindControl(check, L"btnOk"));
    HWND trusted = WindowShown(pid, kTrustedCaption);
    if (trusted == nullptr) return "the trusted-site window did not open" + Seen(pid, process.get());
    run.next_to_trusted = clock.Seconds() - next_pressed;
    // The count alone: reading 11,000 items from another process would be most of the time taken.
    run.listed = static_cast<int>(SendMessageW(e2e::FindControl(trusted, L"lstWebSite"), LB_GETCOUNT, 0, 0));
    e2e::Click(e2e::FindControl(trusted, L"btnOk"));
    const auto question = PollFor([&] { return e2e::WaitForMessageBox(pid, kQuestionTitle, std::chrono::milliseconds(0)); });
    if (!question) return "no confirmation was asked" + Seen(pid, process.get());
    e2e::Answer(*question, IDYES);
    if (WindowShown(pid, kCompletionCaption) == nullptr) return "the completion window did not open" + Seen(pid, process.get());
    run.total = clock.Seconds();
    return {};
  };
  run.why = step();
  run.done = run.why.empty();
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), 10000);
  return run;
}

}  // namespace

InteractivePath MeasureInteractivePath(int rounds) {
  InteractivePath result;
  const std::wstring script = Win32Files().ProgramFolder() + L"\\zone_map_bench.reg";
  if (GetFileAttributesW(script.c_str()) == INVALID_FILE_ATTRIBUTES) {
    result.why = "no zone_map_bench.reg: run the apply measure first";
    return result;
  }
  if (!SeedBrowser()) {
    result.why = "cannot seed the browser's versions";
    return result;
  }
  const std::wstring folder = MakeProgramFolder();
  if (folder.empty()) {
    result.why = "cannot make the program folder (is kelpo.exe built?)";
    return result;
  }
  std::vector<double> ours, theirs, ratios, to_check, to_trusted;
  for (int round = 0; round < rounds; ++round) {
    // Theirs: the entries imported onto an empty zone map. It leaves the zone map the path starts on.
    DeleteKeyTrees(SiteKeyPaths());
    const Stopwatch regedit_clock;
    if (!RunToEnd(L"regedit.exe /s \"" + script + L"\"")) {
      result.why = "regedit /s failed";
      return result;
    }
    theirs.push_back(regedit_clock.Seconds());
    const OneRun run = RunThePath(folder);
    if (!run.done) {
      result.why = run.why;
      return result;
    }
    ours.push_back(run.total);
    ratios.push_back(run.total / theirs.back());
    to_check.push_back(run.start_to_check);
    to_trusted.push_back(run.next_to_trusted);
    result.items = run.listed;
  }
  result.ran = true;
  result.ours = Median(ours);
  result.theirs = Median(theirs);
  result.ratio = Median(ratios);
  result.start_to_check = Median(to_check);
  result.next_to_trusted = Median(to_trusted);
  return result;
}

}  // namespace kelpo::bench
