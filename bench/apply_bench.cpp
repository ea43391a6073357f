// Growth of the whole apply of the trusted-site window with the length of the site list: time
// per site should stay flat from 1,000 to 100,000 sites.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/apply_sequence.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/sim/sim_url_cache.h"

namespace kelpo {
namespace {

class ListWindow final : public TrustedSiteWindow {
 public:
  explicit ListWindow(std::vector<std::wstring> items) : items_(std::move(items)) {}
  std::wstring IeVersionText() const override { return L"8.0.6001.18702"; }
  std::wstring FlashVersionText() const override { return L"10.0.22.87"; }
  void FindStatsKeys(HKey, const std::wstring&) override {}
  std::vector<std::wstring> SiteItems() const override { return items_; }
  void SetOkEnabled(bool) override {}
  void ShowCompletionReport() override {}
  void UnloadWindow() override {}

 private:
  std::vector<std::wstring> items_;
};

struct Machine {
  Machine() {
    registry.set_journaling(false);
    files.PutCompanion(L"TrustedSites.reg");
    files.PutCompanion(L"install_flash_player_10_active_x.exe");
  }
  SimRegistry registry;
  Utf8Codec codec;
  SimDesktop desktop;
  SimFiles files{codec};
  SimProcesses processes;
  SimShell shell;
  SimUrlCache url_cache;
  Platform platform{registry, codec, desktop, files, processes, shell, url_cache};
};

// Hosts, www hosts, words and, one in ten, addresses.
std::vector<std::wstring> SiteList(std::int64_t count) {
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

void BM_ApplyFromSiteList(benchmark::State& state) {
  const auto items = SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Machine machine;
    ListWindow window(items);
    state.ResumeTiming();
    ApplyFromSiteList(machine.platform, window);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ApplyFromSiteList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo
