#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include "platform/win32/message_pump.h"

namespace kelpo {

int Win32Desktop::ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) {
  // Not GetActiveWindow(): it is null while another program is in front, and a box without an
  // owner would leave the program's window usable behind it.
  const HWND owner = windows_ != nullptr ? windows_->FrontWindow() : nullptr;
  return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

void Win32Desktop::HandlePendingMessages() {
  if (windows_ != nullptr) {
    windows_->HandlePendingMessages();
  } else {
    kelpo::HandlePendingMessages(nullptr);
  }
}

void Win32Desktop::EndProgram() { ExitProcess(0); }

}  // namespace kelpo
