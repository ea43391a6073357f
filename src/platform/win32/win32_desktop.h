#pragma once
// Message boxes, the pending-message turn and the end of the program, over user32 and kernel32.
// Realising windows is the window host's affair; once attached, the host says which window a
// box belongs to and handles the messages.
#include "platform/desktop.h"

namespace kelpo {

class ProgramWindows;

class Win32Desktop final : public Desktop {
 public:
  // The window host, once it exists (it is built after the desktop); null detaches.
  void Attach(ProgramWindows* windows) { windows_ = windows; }

  // MessageBoxW owned by the program's front window, so it is modal to that window even while
  // another program is in front; 0 when the box could not be shown.
  int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  // Handles every message already queued for this thread, as the message loop would; a WM_QUIT
  // is put back.
  void HandlePendingMessages() override;
  // Ends the process at once with exit code 0: no further handler runs.
  void EndProgram() override;

 private:
  ProgramWindows* windows_ = nullptr;
};

}  // namespace kelpo
