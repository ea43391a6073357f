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

// Where the apply's time goes: the steps before the sites, each kind of site entry written on
// its own (the same entries the apply writes), and the deletion of the zone map they make.
struct ApplyPhases {
  double prepare = 0;      // ending the browser, the settings, the registry script import
  double baidu = 0;        // the white-list value of every site
  double www_domains = 0;  // Domains\<name>\www keys: two new levels each
  double domains = 0;      // Domains\<name> keys
  double ranges = 0;       // Range<n> keys
  double delete_full = 0;  // deleting all of them again, as the next apply does first
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
