#pragma once
// The raw view of the registry through advapi32's wide-character calls. Keys below
// HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_CURRENT_USER\Software\Classes are read in the
// 32-bit view, as the program writes them; everywhere else below the current user Windows
// keeps one tree for both views.
#include "platform/raw_registry.h"

namespace kelpo {

class Win32RawRegistry final : public RawRegistry {
 public:
  RegStatus ProbeKey(HKey root, const std::wstring& path) override;
  RegStatus ReadKey(HKey root, const std::wstring& path, RawKey* key) override;
  RegStatus ReadValue(HKey root, const std::wstring& path, const std::wstring& name,
                      RawValue* value) override;
};

}  // namespace kelpo
