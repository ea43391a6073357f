#include "windows/setup_file.h"

#include "text/ansi_lines.h"

namespace kelpo {
namespace {

SetupFileContents ReadLinesOf(const Files& files, const TextCodec& codec, const std::wstring& path) {
  SetupFileContents contents;
  const bool read = ReadAnsiLines(files, codec, path, [&](const std::wstring& line) {
    if (line.starts_with(L";")) return true;
    if (line.starts_with(L"URL=")) {
      contents.raw_url = line.substr(4);
      return false;
    }
    if (line.starts_with(L"Run=") && line.compare(4, std::wstring::npos, L"AUTO") == 0) contents.auto_mode = true;
    return true;
  });
  return read ? contents : SetupFileContents{};
}

}  // namespace

SetupFileContents ReadSetupFileContents(const Files& files, const TextCodec& codec, const std::wstring& path) {
  try {
    return ReadLinesOf(files, codec, path);
  } catch (...) {
    // A read that breaks down is an unreadable file: it reads as empty, like a locked one.
    return {};
  }
}

}  // namespace kelpo
