#include "text/ansi_lines.h"

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

bool ReadAnsiLines(const Files& files, const TextCodec& codec, const std::wstring& path, const OnLine& on_line) {
  AnsiLineSplitter splitter(codec, on_line);
  if (!files.ReadBlocks(path, [&](std::string_view bytes) { return splitter.Feed(bytes); })) return false;
  splitter.Finish();
  return true;
}

}  // namespace kelpo
