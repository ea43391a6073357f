#pragma once
// The file system through kernel32's and shell32's wide-character calls, as Windows XP has them.
#include "platform/file_system.h"

namespace kelpo {

class Win32FileSystem final : public FileSystem {
 public:
  std::wstring LocalAppDataFolder() const override;
  bool CreateFolders(const std::wstring& path) override;
  bool WriteWholeFile(const std::wstring& path, const std::string& bytes) override;
  std::unique_ptr<AppendingFile> OpenForAppending(const std::wstring& path) override;
  bool ReadWholeFile(const std::wstring& path, std::string* bytes) const override;
  bool RenameFile(const std::wstring& from, const std::wstring& to, bool replace) override;
  bool RemoveFile(const std::wstring& path) override;
  bool ListFiles(const std::wstring& folder, const std::wstring& pattern,
                 std::vector<std::wstring>* names) const override;
  std::optional<std::uint64_t> FileSize(const std::wstring& path) const override;
};

}  // namespace kelpo
