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

  // The folder that holds the executable, without a trailing separator.
  virtual std::wstring ProgramFolder() const = 0;
  // True for a normal file found by a directory search for the exact path; a hidden or system
  // file, a folder, or a failed search is false.
  virtual bool Exists(const std::wstring& path) const = 0;
  // Reads the file line by line in the ANSI code page: CR or CRLF ends a line, a lone LF stays
  // inside it, a last line without an end is read. Stops when on_line returns false.
  // Returns false when the file cannot be opened or read (nothing or part was delivered).
  virtual bool ReadLines(const std::wstring& path,
                         const std::function<bool(const std::wstring&)>& on_line) const = 0;
};

}  // namespace kelpo
