// The Wine benchmarks: prints each measure against its target. Exits 1 when a measure could
// not be taken; a target missed is printed, not failed.
//   kelpo_wine_bench [apply] [load] [interactive] [wait] [list]   (all by default, in that order;
//                                                   interactive needs the script apply writes)
//   kelpo_wine_bench phases                         (where the apply's time goes)
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "measures.h"

namespace kelpo::bench {
namespace {

constexpr int kRounds = 5;
constexpr int kSleepMilliseconds = 5000;

const char* Verdict(bool met) { return met ? "ok" : "OVER TARGET"; }

bool PrintRatio(const char* title, const char* ours, const char* theirs, const Ratio& ratio) {
  if (!ratio.ran) {
    std::printf("%s: not measured: %s\n", title, ratio.why.c_str());
    return false;
  }
  std::printf("%s (%d sites, medians of %d pairs)\n  %s %.3f s, %s %.3f s: ratio %.2f (target <= 1.0) %s\n",
              title, ratio.items, kRounds, ours, ratio.ours, theirs, ratio.theirs, ratio.ratio,
              Verdict(ratio.ratio <= 1.0));
  return true;
}

void PrintPhases(const ApplyPhases& phases) {
  std::printf("apply phases: prepare %.3f s, import %.3f s; white-list %.3f s, www domains %.3f s, other domains %.3f s, "
              "ranges %.3f s, closing %.3f s; the load of those %d sites %.3f s; clearing them %.3f s\n",
              phases.prepare, phases.import, phases.baidu, phases.www_domains, phases.domains, phases.ranges, phases.closing,
              phases.sites, phases.load, phases.delete_full);
}

bool PrintInteractive(const InteractivePath& path) {
  if (!path.ran) {
    std::printf("the interactive path: not measured: %s\n", path.why.c_str());
    return false;
  }
  std::printf("the interactive path through kelpo.exe (%d sites listed, medians of %d runs)\n"
              "  kelpo.exe %.3f s, regedit /s %.3f s: ratio %.2f (target <= 1.5) %s\n"
              "  start to the check window %.3f s; its Next to the trusted-site window %.3f s (aim: each under 1 s)\n",
              path.items, kRounds, path.ours, path.theirs, path.ratio, Verdict(path.ratio <= 1.5), path.start_to_check,
              path.next_to_trusted);
  return true;
}

bool PrintWait(const WaitCost& wait) {
  if (!wait.ran) {
    std::printf("waiting for a started program: not measured: %s\n", wait.why.c_str());
    return false;
  }
  const double share = 100.0 * wait.cpu / wait.wall;
  std::printf("waiting for a started program (a busy 0.200 s reads as %.3f s of CPU)\n"
              "  %.3f s of CPU in %.3f s of waiting: %.2f %% (target < 1 %%) %s\n",
              wait.calibration, wait.cpu, wait.wall, share, Verdict(share < 1.0));
  return true;
}

bool PrintList(const ListFill& list) {
  if (!list.ran) {
    std::printf("the list box: not measured: %s\n", list.why.c_str());
    return false;
  }
  // One paint for the window appearing, perhaps one more for the focus; never one per item.
  const bool met = list.paints <= 3;
  std::printf("the list box (trusted-site window opened on the zone map)\n"
              "  %d items (%d inserts) in %.3f s, %d paints once shown (target: not per item) %s\n",
              list.items, list.inserts, list.open, list.paints, Verdict(met));
  return true;
}

}  // namespace
}  // namespace kelpo::bench

int main(int argc, char** argv) {
  using namespace kelpo::bench;
  std::set<std::string> chosen(argv + 1, argv + argc);
  const auto wanted = [&](const char* name) { return chosen.empty() || chosen.count(name) != 0; };
  bool all_ran = true;
  if (chosen.count("phases") != 0) PrintPhases(MeasureApplyPhases());
  if (wanted("apply"))
    all_ran &= PrintRatio("apply at scale", "ApplyFromSiteList", "regedit /s", MeasureApplyAtScale(kRounds));
  if (wanted("load"))
    all_ran &= PrintRatio("reading the zone map", "Main load", "regedit /e", MeasureZoneMapLoad(kRounds));
  if (wanted("interactive")) all_ran &= PrintInteractive(MeasureInteractivePath(kRounds));
  if (wanted("wait")) all_ran &= PrintWait(MeasureWaitForProgram(kSleepMilliseconds));
  if (wanted("list")) all_ran &= PrintList(MeasureListFill());
  std::fflush(stdout);
  return all_ran ? 0 : 1;
}
