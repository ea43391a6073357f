// The program's entry point: reads the command line, wires the Windows adapters, and either
// loads the start-up window and runs the message loop until the last window is gone, or makes
// the quiet run, or shows the usage. What it returns is the program's exit status.
#include <windows.h>

#include <memory>
#include <string>

#include "main/console_text.h"
#include "main/program_version.h"
#include "main/resource_ids.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_raw_registry.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_url_cache.h"
#include "text/program_arguments.h"
#include "ui/win32/window_host.h"
#include "windows/quiet_run.h"
#include "windows/start_up_window.h"
#include "windows/window_manager.h"

namespace {

// The adapters of every run; the desktop and the processes are the run's own.
struct SystemAdapters {
  kelpo::Win32Registry registry;
  kelpo::Win32TextCodec codec;
  kelpo::Win32Files files;
  kelpo::Win32Shell shell;
  kelpo::Win32UrlCache url_cache;
  kelpo::Win32RawRegistry raw_registry;
  kelpo::Win32FileSystem file_system;
  kelpo::Win32Clock clock;
  const std::wstring version = kelpo::ProgramVersion();

  kelpo::Platform With(kelpo::Desktop& desktop, kelpo::Processes& processes) {
    return {registry, codec, desktop, files, processes, shell, url_cache, raw_registry, file_system, clock, version};
  }
};

int RunWithWindows() {
  SystemAdapters system;
  kelpo::Win32Desktop desktop;
  kelpo::WindowManager manager(desktop);
  kelpo::Win32WindowHost host(manager, IDI_KELPO);
  manager.set_host(&host);
  // Message boxes and consent prompts belong to the host's front window; every wait handles
  // messages through the host's pump.
  desktop.Attach(&host);
  kelpo::Win32Processes processes(&host);
  const kelpo::Platform platform = system.With(desktop, processes);

  // The start-up window is never displayed: it unloads itself while it loads.
  manager.Show(std::make_unique<kelpo::StartUpWindow>(kelpo::WindowContext{platform, manager}));
  return host.RunMessageLoop();
}

// No window host is built, every message box is held back, and the shell is told to show no
// box of its own when the installer cannot be started: the program never makes a window.
int RunQuietly() {
  SystemAdapters system;
  kelpo::Win32Desktop screen;
  kelpo::QuietDesktop desktop(screen);
  kelpo::Win32Processes processes(nullptr, kelpo::StartErrors::kHeldBack);
  return static_cast<int>(kelpo::RunQuietly(system.With(desktop, processes), desktop));
}

void ShowUsage() {
  if (kelpo::WriteToStartingConsole(kelpo::kUsageText)) return;
  const std::wstring usage(kelpo::kUsageText);
  MessageBoxW(nullptr, usage.c_str(), L"Kelpo", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  switch (kelpo::ParseProgramArguments(arguments != nullptr ? arguments : L"")) {
    case kelpo::ProgramMode::kWithWindows:
      return RunWithWindows();
    case kelpo::ProgramMode::kQuiet:
      return RunQuietly();
    case kelpo::ProgramMode::kShowUsage:
      ShowUsage();
      return static_cast<int>(kelpo::ExitStatus::kSucceeded);
    case kelpo::ProgramMode::kNotUnderstood:
      break;
  }
  // No box: a deployment that runs a mistyped command line at every logon must not stop there.
  kelpo::WriteToStartingConsole(L"kelpo.exe: the command line is not understood.\r\n\r\n" + std::wstring(kelpo::kUsageText));
  return static_cast<int>(kelpo::ExitStatus::kCommandLineNotUnderstood);
}
