#pragma once
// The quiet run ("kelpo.exe /quiet"): the start-up and automatic mode's apply of the set-up
// site with nothing on the screen, ending in an exit status a deployment tool can judge.
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/platform.h"

namespace kelpo {

// The program's exit statuses. Without arguments the program ends with 0 whatever happened.
enum class ExitStatus : int {
  kSucceeded = 0,               // every step done and the completion report holds no failure or warning
  kFailedOrWarned = 1,          // a step failed, the report counts a failure or a warning, or an error was trapped
  kNotConfigured = 2,           // a companion file is missing, or the set-up file names no site
  kCommandLineNotUnderstood = 3,
};

struct HeldBackMessage {
  std::wstring text;
  std::wstring title;
};

// A desktop that shows nothing: every message box is held back and answered 0, as a box that
// could not be shown; the rest is left to the desktop it stands in front of. Whatever the
// start-up or the apply would have shown (a missing companion file, a trapped run-time error)
// stays readable here.
class QuietDesktop final : public Desktop {
 public:
  explicit QuietDesktop(Desktop& behind) : behind_(behind) {}

  int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void HandlePendingMessages() override { behind_.HandlePendingMessages(); }
  void EndProgram() override { behind_.EndProgram(); }

  const std::vector<HeldBackMessage>& held_back() const { return held_back_; }

 private:
  Desktop& behind_;
  std::vector<HeldBackMessage> held_back_;
};

// The start-up's companion-file checks, the versions and the set-up file; then, whatever the
// set-up file says of automatic mode, automatic mode's apply of its site (the same apply the
// start-up window makes), and the completion report the completion window would show.
// `platform.desktop` must be `desktop`: a message it held back is a failure.
[[nodiscard]] ExitStatus RunQuietly(const Platform& platform, const QuietDesktop& desktop);

}  // namespace kelpo
