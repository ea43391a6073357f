#pragma once
// Every port in memory, bundled: what tests, benchmarks and fuzz targets run the core on.
// Not copyable: the Platform refers to the members.
#include <string>

#include "platform/platform.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/sim/sim_url_cache.h"

namespace kelpo {

inline constexpr const wchar_t* kSimProgramFolder = L"C:\\Program Files\\Kelpo";
inline constexpr const wchar_t* kSimProgramVersion = L"9.8.7.6";

struct SimPlatform {
  SimRegistry registry;
  Utf8Codec codec;
  SimDesktop desktop;
  SimFiles files{kSimProgramFolder};
  SimProcesses processes;
  SimShell shell;
  SimUrlCache url_cache;
  SimClock clock;
  Platform platform{registry, codec, desktop, files, processes, shell, url_cache,
                    registry, files, clock, kSimProgramVersion};
};

}  // namespace kelpo
