// The apply and the zone-map load at scale on the real registry, each against regedit doing
// the same work in the same run.
#include <windows.h>

#include <memory>
#include <vector>

#include "apply/apply_steps.h"
#include "apply/interactive_apply.h"
#include "measures.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "windows/trusted_sites_window.h"
#include "windows/window_manager.h"
#include "wine_machine.h"
#include "zonemap/site_writer.h"

namespace kelpo::bench {
namespace {

constexpr int kHosts = 10000;
constexpr int kAddresses = 1000;

// 10,000 host names (www hosts with a scheme, bare domains) and, every eleventh item, one of
// 1,000 addresses.
std::vector<std::wstring> SiteList() {
  std::vector<std::wstring> items;
  items.reserve(kHosts + kAddresses);
  int hosts = 0;
  int addresses = 0;
  while (hosts < kHosts || addresses < kAddresses) {
    if (items.size() % 11 == 10 && addresses < kAddresses) {
      items.push_back(L"http://10.0." + std::to_wstring(addresses / 250) + L"." + std::to_wstring(addresses % 250 + 1));
      ++addresses;
    } else if (hosts < kHosts) {
      const std::wstring n = std::to_wstring(hosts);
      items.push_back(hosts % 2 == 0 ? L"http://www.site" + n + L".example.com" : L"site" + n + L".example.org");
      ++hosts;
    }
  }
  return items;
}

// Internet Explorer 8, and a Flash Player above 9: the installer is never started.
const BrowserVersions kVersions{L"8.0.6001.18702", L"10.0.22.87"};

class BenchWindow final : public ApplyWindow {
 public:
  void SetNextLocked(bool) override {}
  void OpenCompletionWindow() override { completed_ = true; }
  void Unload() override {}
  bool completed() const { return completed_; }

 private:
  bool completed_ = false;
};

std::wstring ProgramFolder() { return Win32Files().ProgramFolder(); }

// The companion files the apply asks for: an empty registry script, and an installer that is
// never run because the Flash version is new enough.
bool PutCompanionFiles(const std::wstring& folder) {
  return WriteFileBytes(folder + L"\\TrustedSites.reg", "REGEDIT4\r\n\r\n") &&
         WriteFileBytes(folder + L"\\install_flash_player_10_active_x.exe", "");
}

// The number of sites the trusted-sites window lists from the zone map.
int ZoneMapItemCount() {
  WineMachine machine;
  WindowManager navigator(machine.desktop);
  TrustedSitesWindow window(WindowContext{machine.platform, navigator});
  window.OnLoad();
  return window.site_list.ListCount();
}

Ratio Failed(std::string why) {
  Ratio result;
  result.why = std::move(why);
  return result;
}

Ratio FromPairs(const std::vector<double>& ours, const std::vector<double>& theirs, int items) {
  Ratio result;
  std::vector<double> ratios;
  for (std::size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i] / theirs[i]);
  result.ran = true;
  result.ours = Median(ours);
  result.theirs = Median(theirs);
  result.ratio = Median(ratios);
  result.items = items;
  return result;
}

}  // namespace

Ratio MeasureApplyAtScale(int rounds) {
  const std::wstring folder = ProgramFolder();
  if (!PutCompanionFiles(folder)) return Failed("cannot write the companion files beside the benchmark");
  const std::wstring script = folder + L"\\zone_map_bench.reg";
  const std::vector<std::wstring> items = SiteList();
  std::vector<double> apply_times, regedit_times;
  int sites = 0;
  for (int round = 0; round < rounds; ++round) {
    DeleteKeyTrees(SiteKeyPaths());
    WineMachine machine;
    BenchWindow window;
    const Stopwatch apply_clock;
    ApplyFromSiteList(machine.platform, kVersions, items, window);
    apply_times.push_back(apply_clock.Seconds());
    if (machine.desktop.questions() != 1 || !window.completed()) return Failed("the apply did not run to its end");
    const int applied = ZoneMapItemCount();
    if (round == 0 && !ExportAsRegistryScript(SiteKeyPaths(), script)) return Failed("cannot write the .reg file");

    DeleteKeyTrees(SiteKeyPaths());
    const Stopwatch regedit_clock;
    if (!RunToEnd(L"regedit.exe /s \"" + script + L"\"")) return Failed("regedit /s failed");
    regedit_times.push_back(regedit_clock.Seconds());
    const int imported = ZoneMapItemCount();
    if (applied != static_cast<int>(items.size()) || imported != applied)
      return Failed("the zone map holds " + std::to_string(applied) + " sites after the apply and " +
                    std::to_string(imported) + " after the import, of " + std::to_string(items.size()));
    sites = applied;
  }
  return FromPairs(apply_times, regedit_times, sites);
}

Ratio MeasureZoneMapLoad(int rounds) {
  const std::wstring exported = ProgramFolder() + L"\\zone_map_export.reg";
  const std::wstring zone_map =
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap";
  std::vector<double> load_times, export_times;
  int sites = 0;
  for (int round = 0; round < rounds; ++round) {
    const Stopwatch load_clock;
    sites = ZoneMapItemCount();
    load_times.push_back(load_clock.Seconds());
    const Stopwatch export_clock;
    if (!RunToEnd(L"regedit.exe /e \"" + exported + L"\" \"" + zone_map + L"\"")) return Failed("regedit /e failed");
    export_times.push_back(export_clock.Seconds());
  }
  if (sites == 0) return Failed("the zone map is empty: run the apply measure first");
  return FromPairs(load_times, export_times, sites);
}

}  // namespace kelpo::bench

namespace kelpo::bench {

ApplyPhases MeasureApplyPhases() {
  ApplyPhases phases;
  const std::vector<std::wstring> items = SiteList();
  DeleteKeyTrees(SiteKeyPaths());  // every entry is new, as in the apply measure
  WineMachine machine;
  ApplyOutcome outcome;
  StepRecorder steps(outcome);
  Stopwatch clock;
  CloseBrowserAndSetPopUps(machine.platform, kVersions, steps);
  DeleteOldEntries(machine.platform, steps);
  DisableToolbarAddOnsStep(machine.platform, steps);
  phases.prepare = clock.Seconds();
  clock = Stopwatch();
  ImportScriptAndSetTrustedZone(machine.platform, kVersions, steps);
  phases.import = clock.Seconds();
  {
    // The site writer's work, piece by piece, with the keys held open as it holds them.
    PolicyWriter writer(machine.platform);
    RegistryReader reader(machine.platform);
    writer.HoldKeysOpen();
    int next_range = 1;
    for (const std::wstring& item : items) {
      clock = Stopwatch();
      WriteBaiduEntry(writer, HostOf(item));
      phases.baidu += clock.Seconds();
      const ZoneEntry entry = ZoneEntryOf(item);
      clock = Stopwatch();
      if (entry.form == ZoneForm::kAddress) {
        const int number = FirstMissingRange(reader, keys::kRanges, next_range, 32767).value_or(32767);
        WriteRangeEntry(writer, keys::kRanges, number, entry);
        next_range = number + 1;
        phases.ranges += clock.Seconds();
      } else {
        WriteDomainEntry(writer, keys::kDomains, entry);
        (entry.form == ZoneForm::kWwwDomain ? phases.www_domains : phases.domains) += clock.Seconds();
      }
    }
    clock = Stopwatch();
    writer.CloseHeldKeys();
    phases.closing = clock.Seconds();
  }
  clock = Stopwatch();
  const int listed = ZoneMapItemCount();
  phases.load = clock.Seconds();
  phases.sites = listed;
  clock = Stopwatch();
  DeleteOldEntries(machine.platform, steps);
  phases.delete_full = clock.Seconds();
  return phases;
}

}  // namespace kelpo::bench
