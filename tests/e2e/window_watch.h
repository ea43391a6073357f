#pragma once
// Every window a process makes, from its first instruction to its end, and whether it was ever
// on the screen: what a run that must show nothing is judged by. Include only after <windows.h>.
//
// Two nets. The process is started suspended and a window-event hook (out of context, so
// nothing is loaded into the process) is set on it before it runs: the system reports each
// window it creates, whatever its kind and however briefly it lives, and on Windows also each
// window it shows (Wine 8 reports the creations to another process, not the showing). Besides, its
// top-level windows are looked for every millisecond, and one found visible counts as shown.
// A run that must show nothing is best judged by ScreenWindows: a window never made is never
// shown.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

enum class WindowKind {
  kMessageOnly,  // never on a screen: COM's apartment window, for one
  kTopLevel,
  kChild,
  kGone,         // destroyed before it could be looked at
};

struct SeenWindow {
  HWND handle = nullptr;
  WindowKind kind = WindowKind::kGone;
  std::wstring class_name;
  std::wstring caption;
  bool shown = false;  // reported shown, or found visible
};

struct WatchedRun {
  bool started = false;
  bool hooked = false;                     // the window-event hook was set before the process ran
  std::optional<std::uint32_t> exit_code;  // none: still running at the end of the patience (then ended)
  std::vector<SeenWindow> windows;         // every window seen, in the order seen
  std::string output;                      // what it wrote to the standard output handed to it

  // Those that were on the screen at some moment.
  std::vector<SeenWindow> ShownWindows() const;
  // Those that were or could have been on a screen: all but message-only windows.
  std::vector<SeenWindow> ScreenWindows() const;
};

// "top-level #32770 "Kelpo"", for a failure message.
std::string Describe(const std::vector<SeenWindow>& windows);

struct WatchOptions {
  std::filesystem::path folder;         // the working folder; empty: the driver's
  std::chrono::milliseconds patience{60000};
  bool capture_output = false;          // hand it a pipe as its standard output; otherwise no standard handles
  // Called once for each top-level window of the process when it is first seen shown (a case
  // that expects a message box reads and answers it here).
  std::function<void(HWND)> on_shown;
};

// Starts the command line exactly as given, watches it to its end and gives what was seen.
WatchedRun RunWatched(const std::wstring& command_line, const WatchOptions& options);

}  // namespace e2e
