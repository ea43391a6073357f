#include "platform/win32/win32_desktop.h"

#include <windows.h>

namespace kelpo {

int Win32Desktop::ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) {
  return MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), flags);
}

void Win32Desktop::HandlePendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Desktop::EndProgram() { ExitProcess(0); }

}  // namespace kelpo
