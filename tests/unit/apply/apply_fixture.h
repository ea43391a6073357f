#pragma once
// A whole machine for the applies, in memory: registry, files, processes, shell, URL cache and
// desktop, a stand-in for the window the interactive apply runs for, and one list of everything
// the apply did to the outside world, in the order it did it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "apply/automatic_apply.h"
#include "apply/interactive_apply.h"
#include "platform/runtime_error.h"
#include "platform/sim/sim_platform.h"
#include "registry/key_paths.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"
#include "unit/registry_bench.h"

namespace kelpo::testing {

inline const std::wstring kApplyFolder = kSimProgramFolder;

// One thing the apply did, with its place in the order of every sim port.
struct Event {
  std::uint64_t number;
  std::string text;
};

struct ApplyMachine : SimPlatform {
  PolicyWriter writer{platform};
  RegistryReader reader{platform};
  std::vector<Event> window_events;
  std::string throw_at;  // a window move that throws, once noted

  ApplyMachine() {
    files.PutCompanion(L"TrustedSites.reg", "REGEDIT4\r\n");
    files.PutCompanion(L"install_flash_player_10_active_x.exe", "MZ");
    // The registry editor the shell starts shows up as a process until it is waited for.
    shell.set_on_run([this](const std::wstring&) { processes.AddChild("regedit.exe"); });
  }

  void Note(const std::string& text) {
    window_events.push_back({NextSimCallNumber(), text});
    if (text == throw_at) throw RuntimeError(5);
  }

  // What was set up before the apply is not part of what it did.
  void ForgetSetUp() {
    registry.ClearJournal();
    processes.ClearJournal();
    url_cache.ClearJournal();
    window_events.clear();
  }

  // Registry writes and successful deletions of keys and values, process and shell calls, cache
  // deletions and the window's moves, merged into the order they happened.
  std::vector<std::string> Events() const {
    std::vector<Event> events = window_events;
    for (const RegCall& call : registry.journal()) {
      if (call.op == RegOp::kSetValue) events.push_back({call.number, "set " + RegistryBench::Describe(call)});
      if (call.op == RegOp::kDeleteKey && call.status == reg::kSuccess)
        events.push_back({call.number, "delete " + RegistryBench::ShortKey(call.path)});
      if (call.op == RegOp::kDeleteValue && call.status == reg::kSuccess)
        events.push_back({call.number, "unset " + RegistryBench::ShortKey(call.path) + " " + call.value});
    }
    for (const ProcCall& call : processes.journal()) events.push_back({call.number, Describe(call)});
    for (const ShellCall& call : shell.journal()) events.push_back({call.number, "shell " + codec.ToAnsi(call.command_line)});
    for (const CacheCall& call : url_cache.journal())
      if (call.op == CacheOp::kDeleteEntry) events.push_back({call.number, "uncache " + call.url});
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.number < b.number; });
    std::vector<std::string> lines;
    for (const Event& event : events) lines.push_back(event.text);
    return lines;
  }

  std::string Describe(const ProcCall& call) const {
    switch (call.op) {
      case ProcOp::kSnapshot: return "snapshot";
      case ProcOp::kTerminate: return "terminate " + std::to_string(call.pid);
      case ProcOp::kStart: return "start " + codec.ToAnsi(call.command_line);
      case ProcOp::kWait: return "wait " + std::to_string(call.pid);
      case ProcOp::kAny: break;
    }
    return "?";
  }

  // Registry keys written to, created or deleted anywhere but below HKEY_CURRENT_USER.
  std::vector<std::string> ChangesOutsideCurrentUser() const {
    std::vector<std::string> outside;
    for (const RegCall& call : registry.journal()) {
      const bool changes = call.op == RegOp::kSetValue || call.op == RegOp::kCreateKey || call.op == RegOp::kDeleteKey;
      if (changes && call.path.rfind("HKEY_CURRENT_USER\\", 0) != 0) outside.push_back(call.path);
    }
    return outside;
  }

  // An add-on whose class registration names a toolbar: the add-on step disables it.
  void AddToolbarAddOn(const std::wstring& identifier) {
    HKey key = 0;
    registry.CreateKey(reg::kCurrentUser, codec.ToAnsi(keys::Below(keys::kAddOnStats, identifier)), &key);
    registry.CloseKey(key);
    const std::string name = "Example Toolbar";
    registry.CreateKey(reg::kClassesRoot, codec.ToAnsi(L"CLSID\\" + identifier), &key);
    registry.SetValue(key, "", reg::kRegSz, reinterpret_cast<const std::uint8_t*>(name.c_str()),
                      static_cast<std::uint32_t>(name.size() + 1));
    registry.CloseKey(key);
  }
};

// The versions the applies are given unless a test says otherwise: Internet Explorer 6 (the URL
// cache is cleared) and a Flash Player older than 10 (the installer runs).
inline const BrowserVersions kOldBrowser{L"6.0.2900.5512", L"9.0.124.0"};

// The trusted-sites window as the interactive apply sees it: the site list and versions it hands
// over, and the three moves the apply makes on it, each noted among the machine's events.
class FakeApplyWindow final : public ApplyWindow {
 public:
  explicit FakeApplyWindow(ApplyMachine& machine) : machine_(machine) {}

  BrowserVersions versions = kOldBrowser;
  std::vector<std::wstring> sites;
  bool next_locked = false;
  bool completion_opened = false;
  bool unloaded = false;

  // The Next button's apply, for the sites and versions as they are now.
  ApplyOutcome Apply() { return ApplyFromSiteList(machine_.platform, versions, sites, *this); }

  void SetNextLocked(bool locked) override {
    next_locked = locked;
    machine_.Note(locked ? "Next locked" : "Next unlocked");
  }
  void OpenCompletionWindow() override {
    completion_opened = true;
    machine_.Note("completion window opened");
  }
  void Unload() override {
    unloaded = true;
    machine_.Note("window unloaded");
  }
  // Where the Next button leaves the window after a full apply.
  bool Completed() const { return !next_locked && completion_opened && unloaded; }

 private:
  ApplyMachine& machine_;
};

// One run of the program in automatic mode for the set-up address.
inline AutomaticApplyOutcome RunAutomatically(ApplyMachine& machine, const std::wstring& setup_address,
                                              const BrowserVersions& versions = kOldBrowser) {
  return ApplyAutomatically(machine.platform, versions, setup_address);
}

}  // namespace kelpo::testing
