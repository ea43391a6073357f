#pragma once
// The program folder and its companion files.
#include <functional>
#include <string>
#include <string_view>

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
  [[nodiscard]] virtual bool Exists(const std::wstring& path) const = 0;
  // Reads the file from its start and hands its bytes on a block at a time, in order. Stops
  // early when on_bytes returns false; that is still a success. False when the file cannot be
  // opened or a read fails; the blocks before the failure were handed on.
  [[nodiscard]] virtual bool ReadBlocks(const std::wstring& path,
                                        const std::function<bool(std::string_view bytes)>& on_bytes) const = 0;
};

}  // namespace kelpo
