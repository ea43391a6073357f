// The program's entry point: wires the Windows adapters.
#include <windows.h>

#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text_codec.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  kelpo::Win32Registry registry;
  kelpo::Win32TextCodec codec;
  (void)registry;
  (void)codec;
  return 0;
}
