#pragma once
// The registry through the ANSI advapi32 entry points. Add-ons and plug-ins are 32-bit
// registrations, so keys below HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and
// HKEY_CURRENT_USER\Software\Classes are opened, created and deleted in the 32-bit view. The
// rest of HKEY_CURRENT_USER is one tree for both views: there the view is not asked for (Wine
// would walk the path a key at a time to honour it) and keys are deleted with RegDeleteKeyA,
// which 32-bit Windows XP has. String data is stored exactly as given: never with a
// terminating zero the caller did not count.
#include <cstdint>
#include <unordered_map>

#include "platform/registry.h"

namespace kelpo {

class Win32Registry final : public Registry {
 public:
  RegStatus OpenKey(HKey parent, const std::string& subkey, HKey* result) override;
  RegStatus OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                      HKey* result) override;
  RegStatus CreateKey(HKey parent, const std::string& subkey, HKey* result) override;
  RegStatus QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override;
  RegStatus SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  RegStatus EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t capacity) override;
  RegStatus EnumKeyEx(HKey key, std::uint32_t index, char* name,
                      std::uint32_t* name_size) override;
  RegStatus EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                      std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
  RegStatus QueryInfoKey(HKey key, std::uint32_t* subkeys, std::uint32_t* values) override;
  RegStatus DeleteKey(HKey key, const std::string& subkey) override;
  RegStatus DeleteValue(HKey key, const std::string& name) override;
  RegStatus CloseKey(HKey key) override;

  // Where a key lies, as far as the view is concerned.
  enum class Place : std::uint8_t {
    kMachine,       // below HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT or another root: 32-bit view
    kUser,          // HKEY_CURRENT_USER itself
    kUserSoftware,  // HKEY_CURRENT_USER\Software: Classes may lie below
    kUserShared,    // anywhere else below HKEY_CURRENT_USER: one tree for both views
    kUserClasses,   // HKEY_CURRENT_USER\Software\Classes and below: 32-bit view
  };
  // Where `subkey` below `parent` lies: a predefined root, or a key opened through this adapter.
  Place PlaceOf(HKey parent, const std::string& subkey) const;

 private:
  // Notes where a key just opened lies, unless it is one of the many below HKEY_CURRENT_USER
  // that both views share.
  void Remember(HKey opened, HKey parent, Place place);

  // Where each key opened and not yet closed lies; a key not here lies below
  // HKEY_CURRENT_USER, where both views share one tree.
  std::unordered_map<HKey, Place> places_;
};

}  // namespace kelpo
