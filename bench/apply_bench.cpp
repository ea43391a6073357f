// Growth of the whole apply of the trusted-sites window with the length of the site list: time
// per site should stay flat from 1,000 to 100,000 sites.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "apply/interactive_apply.h"
#include "bench_support.h"

namespace kelpo {
namespace {

class NoWindow final : public ApplyWindow {
 public:
  void SetNextLocked(bool) override {}
  void OpenCompletionWindow() override {}
  void Unload() override {}
};

void BM_ApplyFromSiteList(benchmark::State& state) {
  const auto items = bench::SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    bench::Rig rig;
    NoWindow window;
    state.ResumeTiming();
    ApplyFromSiteList(rig.platform, {L"8.0.6001.18702", L"10.0.22.87"}, items, window);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ApplyFromSiteList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo
