// The program's entry point: wires the Windows adapters to the windows, loads the start-up
// window and runs the message loop until the last window is gone.
#include <windows.h>

#include <memory>
#include <string>

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
#include "ui/win32/window_host.h"
#include "windows/start_up_window.h"
#include "windows/window_manager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  kelpo::Win32Registry registry;
  kelpo::Win32TextCodec codec;
  kelpo::Win32Desktop desktop;
  kelpo::Win32Files files;
  kelpo::Win32Shell shell;
  kelpo::Win32UrlCache url_cache;
  kelpo::Win32RawRegistry raw_registry;
  kelpo::Win32FileSystem file_system;
  kelpo::Win32Clock clock;
  const std::wstring version = kelpo::ProgramVersion();

  kelpo::WindowManager manager(desktop);
  kelpo::Win32WindowHost host(manager, IDI_KELPO);
  manager.set_host(&host);
  // Message boxes and consent prompts belong to the host's front window; every wait handles
  // messages through the host's pump.
  desktop.Attach(&host);
  kelpo::Win32Processes processes(&host);
  kelpo::Platform platform{registry, codec, desktop, files, processes, shell, url_cache,
                           raw_registry, file_system, clock, version};

  // The start-up window is never displayed: it unloads itself while it loads.
  manager.Show(std::make_unique<kelpo::StartUpWindow>(kelpo::WindowContext{platform, manager}));
  return host.RunMessageLoop();
}
