// Growth of the site writer, the zone-map readers and the tree deletion with the number of
// sites: time per item should stay flat from 1,000 to 100,000 items.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/site_writer.h"
#include "registry/module1.h"
#include "sites/zone_map.h"

namespace kelpo {
namespace {

using bench::Rig;
using bench::SiteList;

void WriteAll(Rig& rig, const std::vector<std::wstring>& items) {
  SiteWriter writer(rig.module);
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
  ZoneMapReader reader(rig.registry, rig.codec, rig.module);
  for (auto _ : state) {
    std::vector<std::wstring> list;
    reader.FindDomainsKeys(reg::kCurrentUser, keys::kDomainsRoot, list);
    reader.FindRangesKeys(reg::kCurrentUser, keys::kRangesRoot, list);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DeleteSubkeyTree(benchmark::State& state) {
  const auto items = SiteList(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Rig rig;
    WriteAll(rig, items);
    state.ResumeTiming();
    DeleteSubkeyTree(rig.registry, reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains");
    DeleteSubkeyTree(rig.registry, reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SiteWriter)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoneMapReaders)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSubkeyTree)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo
