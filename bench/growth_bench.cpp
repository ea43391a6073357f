// Growth of the site writer, the zone-map readers and the tree deletion with the number of
// sites: time per item should stay flat from 1,000 to 100,000 items.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "zonemap/site_writer.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo {
namespace {

using bench::Rig;
using bench::SiteList;

void WriteAll(Rig& rig, const std::vector<std::wstring>& items) {
  SiteWriter writer(rig.writer, rig.reader);
  for (const std::wstring& item : items) writer.WriteSite(item);
  writer.WriteGoogleWhitelist();
}

void BM_SiteWriter(benchmark::State& state) {
  const auto items = SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Rig rig;
    state.ResumeTiming();
    WriteAll(rig, items);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ZoneMapReaders(benchmark::State& state) {
  Rig rig;
  WriteAll(rig, SiteList(state.range(0)));
  ZoneMapReader zone_map(rig.platform);
  for (auto _ : state) {
    std::vector<std::wstring> list = zone_map.TrustedDomains();
    const std::vector<std::wstring> ranges = zone_map.TrustedRanges();
    list.insert(list.end(), ranges.begin(), ranges.end());
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DeleteRegistryTree(benchmark::State& state) {
  const auto items = SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Rig rig;
    WriteAll(rig, items);
    state.ResumeTiming();
    benchmark::DoNotOptimize(DeleteRegistryTree(rig.registry, reg::kCurrentUser, rig.codec.ToAnsi(keys::kDomains)));
    benchmark::DoNotOptimize(DeleteRegistryTree(rig.registry, reg::kCurrentUser, rig.codec.ToAnsi(keys::kRanges)));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SiteWriter)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoneMapReaders)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRegistryTree)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo
