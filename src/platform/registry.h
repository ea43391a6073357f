#pragma once
// The registry, shaped after the ANSI advapi32 calls the program makes, so each procedure keeps
// its exact buffer behaviour. Names, paths and string data are ANSI bytes (see TextCodec).
// Every call returns a Win32 status code; on failure the out-parameters are left untouched,
// except where a call documents otherwise (ERROR_MORE_DATA still reports sizes and names).
#include <cstddef>
#include <cstdint>
#include <string>

namespace kelpo {

using RegStatus = std::int32_t;
using HKey = std::uint64_t;  // opaque key handle; 0 is never a valid key

namespace reg {
inline constexpr RegStatus kSuccess = 0;
inline constexpr RegStatus kFileNotFound = 2;
inline constexpr RegStatus kAccessDenied = 5;
inline constexpr RegStatus kInvalidHandle = 6;
inline constexpr RegStatus kInvalidParameter = 87;
inline constexpr RegStatus kMoreData = 234;
inline constexpr RegStatus kNoMoreItems = 259;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// The longest subkey path, in bytes, that the ANSI open and create calls take: they convert it
// through a fixed buffer, and a longer one fails with kMoreData.
inline constexpr std::size_t kMaxAnsiPath = 260;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;

// The predefined roots, as their 32-bit handle values.
inline constexpr HKey kClassesRoot = 0x80000000;
inline constexpr HKey kCurrentUser = 0x80000001;
inline constexpr HKey kLocalMachine = 0x80000002;
inline constexpr HKey kUsers = 0x80000003;
inline constexpr HKey kPerformanceData = 0x80000004;
inline constexpr HKey kCurrentConfig = 0x80000005;
inline constexpr HKey kDynData = 0x80000006;

inline constexpr bool IsPredefined(HKey key) { return key >= kClassesRoot && key <= kDynData; }
}  // namespace reg

class Registry {
 public:
  Registry() = default;
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;
  virtual ~Registry() = default;

  // RegOpenKeyA: opens with the most access the caller is granted. Fails with 2 when missing.
  [[nodiscard]] virtual RegStatus OpenKey(HKey parent, const std::string& subkey, HKey* result) = 0;
  // RegOpenKeyExA with an access mask; 5 when the key denies a requested write right.
  [[nodiscard]] virtual RegStatus OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                                            HKey* result) = 0;
  // RegCreateKeyA: opens, or creates the key and every missing key above it.
  [[nodiscard]] virtual RegStatus CreateKey(HKey parent, const std::string& subkey, HKey* result) = 0;
  // RegQueryValueExA. data == nullptr probes: type and size are reported. A buffer too small
  // gives 234 with *size set to the size needed. The empty name is the default value.
  [[nodiscard]] virtual RegStatus QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExA: writes exactly `size` bytes of `data`.
  virtual RegStatus SetValue(HKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;
  // RegEnumKeyA: the name of subkey `index`, zero-terminated, into a buffer of `capacity` bytes.
  [[nodiscard]] virtual RegStatus EnumKey(HKey key, std::uint32_t index, char* name,
                            std::uint32_t capacity) = 0;
  // RegEnumKeyExA: *name_size is the buffer's capacity in, the name's length out.
  [[nodiscard]] virtual RegStatus EnumKeyEx(HKey key, std::uint32_t index, char* name,
                              std::uint32_t* name_size) = 0;
  // RegEnumValueA: subkeys sorted, values in the order first written. A data buffer too small
  // gives 234 with the name still returned. type and data may be null.
  [[nodiscard]] virtual RegStatus EnumValue(HKey key, std::uint32_t index, char* name,
                              std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* data_size) = 0;
  // RegQueryInfoKeyA: how many subkeys and values the key has. Both out-parameters are set on
  // success only.
  [[nodiscard]] virtual RegStatus QueryInfoKey(HKey key, std::uint32_t* subkeys, std::uint32_t* values) = 0;
  // RegDeleteKeyA: deletes a key without subkeys; the empty subkey deletes `key` itself.
  virtual RegStatus DeleteKey(HKey key, const std::string& subkey) = 0;
  // RegDeleteValueA: deletes one value of `key`; 2 when the key has no such value.
  virtual RegStatus DeleteValue(HKey key, const std::string& name) = 0;
  // RegCloseKey. Closing a predefined root succeeds and does nothing.
  virtual RegStatus CloseKey(HKey key) = 0;
};

}  // namespace kelpo
