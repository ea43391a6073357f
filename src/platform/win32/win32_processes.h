#pragma once
// Processes through the tool-help snapshot and kernel32; every handle is closed.
#include <functional>

#include "platform/processes.h"

namespace kelpo {

class Win32Processes final : public Processes {
 public:
  // `handle_pending_messages` runs whenever window messages arrive during a wait; by default
  // they are dispatched here.
  explicit Win32Processes(std::function<void()> handle_pending_messages = {});

  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  bool Terminate(std::uint32_t pid) override;
  std::uint32_t Start(const std::wstring& command_line) override;
  void WaitUntilEnded(std::uint32_t pid) override;

 private:
  std::function<void()> handle_pending_messages_;
};

// Dispatches the window messages already queued. False when the program was asked to quit
// (the request is put back for the message loop).
bool DispatchPendingMessages();

}  // namespace kelpo
