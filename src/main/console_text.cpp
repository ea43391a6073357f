#include <windows.h>

#include "main/console_text.h"

#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text_codec.h"

namespace kelpo {
namespace {

bool WriteTo(HANDLE output, std::wstring_view text) {
  DWORD written = 0;
  DWORD console_mode = 0;
  if (GetConsoleMode(output, &console_mode)) {
    const auto length = static_cast<DWORD>(text.size());
    return WriteConsoleW(output, text.data(), length, &written, nullptr) && written == length;
  }
  const std::string bytes = Win32TextCodec().ToAnsi(text);
  const auto size = static_cast<DWORD>(bytes.size());
  return WriteFile(output, bytes.data(), size, &written, nullptr) && written == size;
}

}  // namespace

bool WriteToStartingConsole(std::wstring_view text) {
  const HANDLE handed = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handed != nullptr && handed != INVALID_HANDLE_VALUE && WriteTo(handed, text)) return true;
  // AttachConsole and ATTACH_PARENT_PROCESS are there from Windows XP on.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  bool written = false;
  {
    const UniqueHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) written = WriteTo(console.get(), L"\r\n" + std::wstring(text));
  }
  FreeConsole();
  return written;
}

}  // namespace kelpo
