#pragma once
// The window system as the core sees it: modal message boxes, the message loop, the end of the
// program. Realising windows is the host's affair (win32 window host).
#include <string>

namespace kelpo {

namespace box {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconInformation = 0x40;

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace box

class Desktop {
 public:
  Desktop() = default;
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;
  virtual ~Desktop() = default;

  // A modal message box; returns the button pressed (box::kAnswer…).
  virtual int ShowMessage(const std::wstring& text, const std::wstring& title,
                          unsigned flags) = 0;
  // Handles the window messages already waiting, once, and returns.
  virtual void HandlePendingMessages() = 0;
  // Ends the program: every window closes and no further handler runs.
  virtual void EndProgram() = 0;
};

}  // namespace kelpo
