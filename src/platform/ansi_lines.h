#pragma once
// The program's sequential line input: a line ends at CR or at CR LF; a lone LF stays inside
// the line; a last line without an end is read too. Bytes are ANSI, lines come out as text.
// Both Files adapters feed their bytes through this one splitter.
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text_codec.h"

namespace kelpo {

class AnsiLineSplitter {
 public:
  // on_line returns false to stop the reading.
  using OnLine = std::function<bool(const std::wstring&)>;

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

}  // namespace kelpo
