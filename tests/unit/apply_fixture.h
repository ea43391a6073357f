#pragma once
// A whole machine for the applies, in memory: registry, files, processes, shell, URL cache and
// desktop, a stand-in for the window the apply runs for, and one list of everything the apply
// did to the outside world, in the order it did it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/apply_sequence.h"
#include "engine/automatic_apply.h"
#include "platform/runtime_error.h"
#include "platform/sim/sim_platform.h"
#include "registry/module1.h"
#include "reports/addon_inspection.h"
#include "sites/zone_map.h"
#include "unit/engine_fixture.h"

namespace kelpo::testing {

inline const std::wstring kApplyFolder = kSimProgramFolder;

// One thing the apply did, with its place in the order of every sim port.
struct Event {
  std::uint64_t number;
  std::string text;
};

struct ApplyMachine : SimPlatform {
  Module1 module1{platform};
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
    registry.CreateKey(reg::kCurrentUser, codec.ToAnsi(std::wstring(keys::kAddOnStats) + L"\\" + identifier), &key);
    registry.CloseKey(key);
    const std::string name = "Example Toolbar";
    registry.CreateKey(reg::kClassesRoot, codec.ToAnsi(L"CLSID\\" + identifier), &key);
    registry.SetValue(key, "", reg::kRegSz, reinterpret_cast<const std::uint8_t*>(name.c_str()),
                      static_cast<std::uint32_t>(name.size() + 1));
    registry.CloseKey(key);
  }
};

// The window parts both applies read: the versions, and the add-on step done as the windows
// do it.
template <typename Interface>
class FakeWindow : public Interface {
 public:
  explicit FakeWindow(ApplyMachine& machine) : machine_(machine) {}

  std::wstring ie_version = L"6.0.2900.5512";
  std::wstring flash_version = L"9.0.124.0";

  std::wstring IeVersionText() const override { return ie_version; }
  std::wstring FlashVersionText() const override { return flash_version; }
  void FindStatsKeys(HKey root, const std::wstring& key_path) override {
    machine_.Note("FindStatsKeys " + machine_.codec.ToAnsi(key_path));
    DisableToolbarAddons(machine_.platform, root, key_path);
  }

 protected:
  ApplyMachine& machine_;
};

class FakeTrustedSiteWindow final : public FakeWindow<TrustedSiteWindow> {
 public:
  using FakeWindow::FakeWindow;

  std::vector<std::wstring> items;
  bool ok_enabled = true;
  bool report_shown = false;
  bool unloaded = false;

  std::vector<std::wstring> SiteItems() const override { return items; }
  void SetOkEnabled(bool enabled) override {
    ok_enabled = enabled;
    machine_.Note(enabled ? "btnOk enabled" : "btnOk disabled");
  }
  void ShowCompletionReport() override {
    report_shown = true;
    machine_.Note("frmInfo shown");
  }
  void UnloadWindow() override {
    unloaded = true;
    machine_.Note("Main unloaded");
  }
  // Where the Next button leaves the window after a full apply.
  bool Completed() const { return ok_enabled && report_shown && unloaded; }
};

// The start-up window's part: the set-up address, the range lookups and their counters.
class FakeAutoSetWindow final : public FakeWindow<AutoSetWindow> {
 public:
  using FakeWindow::FakeWindow;

  std::wstring SetupUrl;
  std::int32_t RangeCount = 0;
  std::int32_t EscRangeCount = 0;

  bool FindRangesKeys(HKey root, const std::wstring& key_path) override {
    return Reader().FindRangeItem(root, key_path, keys::kRangesPath, SetupUrl, RangeCount);
  }
  bool FindEscRangesKeys(HKey root, const std::wstring& key_path) override {
    return Reader().FindRangeItem(root, key_path, keys::kEscRangesPath, SetupUrl, EscRangeCount);
  }
  void ApplySettings() { ApplyAutomatically(machine_.platform, *this, SetupUrl, RangeCount, EscRangeCount); }

 private:
  ZoneMapReader Reader() { return ZoneMapReader(machine_.registry, machine_.codec, machine_.module1); }
};

}  // namespace kelpo::testing
