#pragma once
// The registry through the ANSI advapi32 entry points. Every open, create and delete uses the
// 32-bit view, where the browser's add-ons and plug-ins are registered.
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
  RegStatus DeleteKey(HKey key, const std::string& subkey) override;
  RegStatus DeleteValue(HKey key, const std::string& name) override;
  RegStatus CloseKey(HKey key) override;
};

}  // namespace kelpo
