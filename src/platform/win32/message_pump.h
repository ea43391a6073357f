#pragma once
// The one place where window messages are handled. The message loop and every wait for a
// started program go through it, so the keys that move between and press controls (Tab,
// Enter) work the same whether or not the program is waiting. Include only after <windows.h>.
#include <functional>

namespace kelpo {

// Uses a message up before it is dispatched (the window host's keys); true when it did.
using MessageFilter = std::function<bool(const MSG&)>;

// Translates and dispatches the message, unless the filter (when there is one) used it up.
void HandleMessage(const MSG& message, const MessageFilter& filter);
// Handles each message already queued for this thread as HandleMessage does. False when the
// program was asked to quit: the request is put back for the message loop.
bool HandlePendingMessages(const MessageFilter& filter);

// The program's windows on the screen as the adapters need them; the window host answers.
class ProgramWindows {
 public:
  virtual ~ProgramWindows() = default;
  // The program's own window in front, the one a message box or a consent prompt belongs to;
  // null when none is shown. Kept by the host, so it holds while another program is in front.
  virtual HWND FrontWindow() const = 0;
  // Handles the messages already queued, with the host's keys; false once asked to quit.
  virtual bool HandlePendingMessages() = 0;
};

}  // namespace kelpo
