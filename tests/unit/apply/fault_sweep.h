#pragma once
// Runs an apply once cleanly to learn every call it makes, then once more for each of those
// calls with that one call failing, and once with it throwing. Whatever the fault, the apply
// must finish (the caller checks how), leave no handle open and change nothing outside
// HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "unit/apply/apply_fixture.h"

namespace kelpo::testing {

enum class Port { kRegistry, kProcesses, kShell, kCache, kWindow };

// One call of a clean run: the `occurrence`-th call of its kind on its port.
struct CallSite {
  Port port;
  int op;
  int occurrence;
  std::string label;
};

// A failure code no port returns on its own, so a hit can be told from an ordinary failure.
inline constexpr std::int32_t kSweepError = 1450;

inline std::vector<CallSite> CallSitesOf(const ApplyMachine& machine) {
  std::vector<CallSite> sites;
  std::map<std::pair<Port, int>, int> seen;
  const auto add = [&](Port port, int op, std::string label) {
    sites.push_back({port, op, seen[{port, op}]++, std::move(label)});
  };
  for (const RegCall& call : machine.registry.journal())
    add(Port::kRegistry, static_cast<int>(call.op), std::string(RegOpName(call.op)) + " " + call.path + " " + call.value);
  for (const ProcCall& call : machine.processes.journal())
    add(Port::kProcesses, static_cast<int>(call.op), machine.Describe(call));
  for (const ShellCall& call : machine.shell.journal())
    add(Port::kShell, static_cast<int>(ShellOp::kRun), "shell " + machine.codec.ToAnsi(call.command_line));
  for (const CacheCall& call : machine.url_cache.journal())
    add(Port::kCache, static_cast<int>(call.op), "cache call " + std::to_string(static_cast<int>(call.op)) + " " + call.url);
  for (const Event& event : machine.window_events) add(Port::kWindow, 0, "window " + event.text);
  return sites;
}

inline void InjectAt(ApplyMachine& machine, const CallSite& site, bool throws) {
  switch (site.port) {
    case Port::kRegistry:
      machine.registry.InjectFault({static_cast<RegOp>(site.op), "", kSweepError, throws, site.occurrence, 1});
      break;
    case Port::kProcesses:
      machine.processes.InjectFault({static_cast<ProcOp>(site.op), L"", throws, kSweepError, site.occurrence, 1});
      break;
    case Port::kShell:
      machine.shell.InjectFault({ShellOp::kRun, L"", throws, kSweepError, site.occurrence, 1});
      break;
    case Port::kCache:
      machine.url_cache.InjectFault({static_cast<CacheOp>(site.op), L"", throws, kSweepError, site.occurrence, 1});
      break;
    case Port::kWindow:
      machine.throw_at = site.label.substr(std::string("window ").size());
      break;
  }
}

// The `occurrence`-th recorded call of the kind, or null.
template <typename Call, typename OpOf>
const Call* NthCall(const std::vector<Call>& journal, int op, int occurrence, OpOf op_of) {
  for (const Call& call : journal)
    if (op_of(call) == op && occurrence-- == 0) return &call;
  return nullptr;
}

template <typename Op>
bool Aimed(const CallSite& site, Port port, Op op) {
  return site.port == port && site.op == static_cast<int>(op);
}

// True when the call the fault was aimed at is the one that failed with it.
inline bool FailedAsAimed(const ApplyMachine& machine, const CallSite& site) {
  switch (site.port) {
    case Port::kRegistry: {
      const RegCall* call = NthCall(machine.registry.journal(), site.op, site.occurrence,
                                    [](const RegCall& c) { return static_cast<int>(c.op); });
      return call != nullptr && call->status == kSweepError;
    }
    case Port::kProcesses: {
      const ProcCall* call = NthCall(machine.processes.journal(), site.op, site.occurrence,
                                     [](const ProcCall& c) { return static_cast<int>(c.op); });
      return call != nullptr && !call->succeeded;
    }
    case Port::kShell: {
      const ShellCall* call = NthCall(machine.shell.journal(), site.op, site.occurrence,
                                      [](const ShellCall&) { return static_cast<int>(ShellOp::kRun); });
      return call != nullptr && !call->succeeded;
    }
    case Port::kCache: {
      const CacheCall* call = NthCall(machine.url_cache.journal(), site.op, site.occurrence,
                                      [](const CacheCall& c) { return static_cast<int>(c.op); });
      return call != nullptr && call->error == kSweepError;
    }
    case Port::kWindow: break;
  }
  return false;
}

// `arrange` sets up the machine (and forgets the set-up); `act` runs the apply and checks that
// it finished.
inline void SweepEveryCall(const std::function<void(ApplyMachine&)>& arrange,
                           const std::function<void(ApplyMachine&)>& act) {
  std::vector<CallSite> sites;
  {
    ApplyMachine clean;
    arrange(clean);
    act(clean);
    sites = CallSitesOf(clean);
  }
  ASSERT_FALSE(sites.empty());
  for (const CallSite& site : sites) {
    for (const bool throws : {false, true}) {
      if (site.port == Port::kWindow && !throws) continue;  // a window move cannot fail, only throw
      SCOPED_TRACE((throws ? "throws: " : "fails: ") + site.label + " #" + std::to_string(site.occurrence));
      ApplyMachine machine;
      arrange(machine);
      InjectAt(machine, site, throws);
      act(machine);
      if (!throws && site.port != Port::kWindow) {
        EXPECT_TRUE(FailedAsAimed(machine, site));
      }
      EXPECT_THAT(machine.ChangesOutsideCurrentUser(), ::testing::IsEmpty());
      // A close that fails leaves its handle behind, as it would on Windows.
      if (!Aimed(site, Port::kRegistry, RegOp::kCloseKey)) {
        EXPECT_EQ(machine.registry.open_handle_count(), 0u);
      }
      if (!Aimed(site, Port::kCache, CacheOp::kCloseFind)) {
        EXPECT_EQ(machine.url_cache.open_walk_count(), 0u);
      }
      EXPECT_EQ(machine.processes.open_handles(), 0);
      if (::testing::Test::HasFailure()) return;  // one faulty call is enough to see
    }
  }
}

}  // namespace kelpo::testing
