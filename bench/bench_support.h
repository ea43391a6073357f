#pragma once
// What the native benchmarks share: the in-memory platform with the companion files in place,
// and a site list of the forms a real one holds.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"

namespace kelpo::bench {

struct Rig : SimPlatform {
  Rig() {
    registry.set_journaling(false);
    files.PutCompanion(L"TrustedSites.reg");
    files.PutCompanion(L"install_flash_player_10_active_x.exe");
  }
  PolicyWriter writer{platform};
  RegistryReader reader{platform};
};

// Hosts, www hosts, single words and, one in ten, addresses.
inline std::vector<std::wstring> SiteList(std::int64_t count) {
  std::vector<std::wstring> items;
  items.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    const std::wstring n = std::to_wstring(i);
    if (i % 10 == 9)
      items.push_back(L"http://10." + std::to_wstring(i / 65536 % 256) + L"." + std::to_wstring(i / 256 % 256) + L"." +
                      std::to_wstring(i % 256));
    else if (i % 3 == 0)
      items.push_back(L"word" + n);
    else
      items.push_back(L"http://www.site" + n + L".example.com");
  }
  return items;
}

}  // namespace kelpo::bench
