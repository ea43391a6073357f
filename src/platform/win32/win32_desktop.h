#pragma once
// Message boxes, the pending-message turn and the end of the program, over user32 and kernel32.
// Realising windows is the window host's affair.
#include "platform/desktop.h"

namespace kelpo {

class Win32Desktop final : public Desktop {
 public:
  // MessageBoxW owned by the thread's active window; 0 when the box could not be shown.
  int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  // Dispatches every message already queued for this thread; a WM_QUIT is put back.
  void HandlePendingMessages() override;
  // Ends the process at once with exit code 0: no further handler runs.
  void EndProgram() override;
};

}  // namespace kelpo
