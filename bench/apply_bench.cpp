// Growth of the whole apply of the trusted-site window with the length of the site list: time
// per site should stay flat from 1,000 to 100,000 sites.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/apply_sequence.h"

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

void BM_ApplyFromSiteList(benchmark::State& state) {
  const auto items = bench::SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    bench::Rig rig;
    ListWindow window(items);
    state.ResumeTiming();
    ApplyFromSiteList(rig.platform, window);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ApplyFromSiteList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo
