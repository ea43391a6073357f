#pragma once
// The program's sequential line input: a line ends at CR or at CR LF; a lone LF stays inside
// the line; a last line without an end is read too. Bytes are ANSI, lines come out as text.
#include <functional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/text_codec.h"

namespace kelpo {

// on_line returns false to stop the reading.
using OnLine = std::function<bool(const std::wstring& line)>;

class AnsiLineSplitter {
 public:
  AnsiLineSplitter(const TextCodec& codec, OnLine on_line) : codec_(codec), on_line_(std::move(on_line)) {}

  // The next bytes of the file, in any cut. False once on_line has asked to stop.
  bool Feed(std::string_view bytes);
  // The end of the file: delivers a last line that had no line end. False when stopped.
  bool Finish();

 private:
  bool Deliver();

  const TextCodec& codec_;
  OnLine on_line_;
  std::string line_;
  bool after_cr_ = false;  // the previous byte ended a line with CR; an LF now belongs to it
  bool stopped_ = false;
};

// Reads the file from its start, line by line, in the ANSI code page. Stopping early is still a
// success. False when the file cannot be opened or a read fails: the lines before the failure
// were delivered, a last one cut short by it is not.
[[nodiscard]] bool ReadAnsiLines(const Files& files, const TextCodec& codec, const std::wstring& path,
                                 const OnLine& on_line);

}  // namespace kelpo
