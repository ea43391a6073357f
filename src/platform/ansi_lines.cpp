#include "platform/ansi_lines.h"

namespace kelpo {

bool AnsiLineSplitter::Deliver() {
  stopped_ = !on_line_(codec_.FromAnsi(line_));
  line_.clear();
  return !stopped_;
}

bool AnsiLineSplitter::Feed(std::string_view bytes) {
  while (!stopped_ && !bytes.empty()) {
    if (after_cr_) {
      after_cr_ = false;
      if (bytes.front() == '\n') {
        bytes.remove_prefix(1);
        continue;
      }
    }
    const std::size_t cr = bytes.find('\r');
    line_.append(bytes.substr(0, cr));
    if (cr == std::string_view::npos) break;
    bytes.remove_prefix(cr + 1);
    after_cr_ = true;
    Deliver();
  }
  return !stopped_;
}

bool AnsiLineSplitter::Finish() {
  if (!stopped_ && !line_.empty()) Deliver();
  return !stopped_;
}

}  // namespace kelpo
