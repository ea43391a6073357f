#pragma once
// The Wine benchmarks, each measured side by side with what it is compared with, in one run.
#include <string>

namespace kelpo::bench {

// Our time against theirs, taken in pairs one after the other, so that a machine busy with
// something else slows both sides of a pair alike.
struct Ratio {
  bool ran = false;      // false: the measure could not be taken (why says why)
  std::string why;
  double ours = 0;       // median seconds
  double theirs = 0;     // median seconds
  double ratio = 0;      // median of the pairs' ratios
  int items = 0;
};

// The interactive apply of the site list against regedit /s importing the same keys. Leaves the
// zone map filled.
Ratio MeasureApplyAtScale(int rounds);
// The trusted-site window's load of the zone map against regedit /e exporting ZoneMap.
Ratio MeasureZoneMapLoad(int rounds);

// kelpo.exe started on the zone map the apply measure leaves, driven as a user would: the check
// window's Next, nothing added, the trusted-site window's Next, Yes, until the completion window
// shows; against regedit /s importing the same entries onto an empty zone map.
struct InteractivePath : Ratio {
  double start_to_check = 0;   // median seconds from the start to the check window shown
  double next_to_trusted = 0;  // median seconds from the check window's Next to the trusted-site window shown
};
InteractivePath MeasureInteractivePath(int rounds);

// Where the apply's time goes: the steps before the sites, each kind of site entry written on
// its own (the same entries the apply writes, the keys held open as the apply holds them), the
// window's load of the zone map they make, and the clearing of it that the next apply begins with.
struct ApplyPhases {
  double prepare = 0;      // ending the browser, the settings, the clearing, the add-ons
  double import = 0;       // the registry script's import, waited for, and the zone flags
  double baidu = 0;        // the white-list value of every site
  double www_domains = 0;  // Domains\<name>\www keys: two new levels each
  double domains = 0;      // Domains\<name> keys
  double ranges = 0;       // Range<n> keys, each after a look for the first free number
  double closing = 0;      // closing the keys still held at the end
  double load = 0;         // the trusted-sites window's load of what was written
  int sites = 0;           // the items it listed
  double delete_full = 0;  // clearing the Trusted sites entries again, as the next apply does first
};
ApplyPhases MeasureApplyPhases();

struct WaitCost {
  bool ran = false;
  std::string why;
  double wall = 0;          // seconds the started program ran, as the waiting process saw it
  double cpu = 0;           // seconds of CPU the waiting process used meanwhile
  double calibration = 0;   // CPU seconds a busy 0.2 s reads as: proves the clock counts
};

// CPU used while Win32Processes waits for a program that sleeps for `milliseconds`.
WaitCost MeasureWaitForProgram(int milliseconds);

struct ListFill {
  bool ran = false;
  std::string why;
  int items = 0;         // items in the native list box once the window is up
  int inserts = 0;       // insert messages the list box received
  int paints = 0;        // WM_PAINT messages the list box received
  double open = 0;       // seconds to load, fill and show the window
};

// Opens the trusted-site window on the zone map through the real window host and counts the
// list box's paints once it is shown.
ListFill MeasureListFill();

}  // namespace kelpo::bench
