#include <windows.h>

#include "platform/win32/message_pump.h"

namespace kelpo {

void HandleMessage(const MSG& message, const MessageFilter& filter) {
  if (filter && filter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

bool HandlePendingMessages(const MessageFilter& filter) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    HandleMessage(message, filter);
  }
  return true;
}

}  // namespace kelpo
