#pragma once
// The raw view of the registry through advapi32's wide-character calls, for the backup. It reads
// what regedit will change when it imports the registry script, and what it puts back when it
// imports the backup: keys below HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and
// HKEY_CURRENT_USER\Software\Classes in the 64-bit view on 64-bit Windows, the view regedit
// works in there (the program itself writes nothing below them); everywhere else below the
// current user Windows keeps one tree for both views.
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
