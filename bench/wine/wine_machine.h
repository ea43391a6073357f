#pragma once
// The program's Windows adapters, with a desktop that answers its questions Yes.
// Include only after <windows.h>.
#include "bench_support.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_raw_registry.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_url_cache.h"

namespace kelpo::bench {

struct WineMachine {
  Win32Registry registry;
  Win32TextCodec codec;
  AnsweringDesktop desktop;
  Win32Files files;
  Win32Processes processes;
  Win32Shell shell;
  Win32UrlCache url_cache;
  Win32RawRegistry raw_registry;
  Win32FileSystem file_system;
  Win32Clock clock;
  Platform platform{registry, codec, desktop, files, processes, shell, url_cache,
                    raw_registry, file_system, clock, L"bench"};
};

}  // namespace kelpo::bench
