#pragma once
// The program folder and its companion files.
#include <functional>
#include <string>

namespace kelpo {

class Files {
 public:
  Files() = default;
  Files(const Files&) = delete;
  Files& operator=(const Files&) = delete;
  virtual ~Files() = default;

  // The folder that holds the executable, without a trailing separator (a drive root is "C:").
  // Empty when the system cannot say.
  virtual std::wstring ProgramFolder() const = 0;
  // True when a directory search for the exact path finds a normal file: a hidden or system
  // file, a folder, or a failed search is false. The file is not opened.
  virtual bool Exists(const std::wstring& path) const = 0;
  // Reads the file from its start, line by line, in the ANSI code page (AnsiLineSplitter's
  // rule: CR or CR LF ends a line, a lone LF stays inside it, a last line without an end is
  // read). Stops early when on_line returns false; that is still a success. Returns false when
  // the file cannot be opened or a read fails; the lines before the failure were delivered.
  virtual bool ReadLines(const std::wstring& path,
                         const std::function<bool(const std::wstring&)>& on_line) const = 0;
};

}  // namespace kelpo
