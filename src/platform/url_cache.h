#pragma once
// The WinINet URL cache, shaped after its four calls so the walk keeps its exact order: a size
// probe with no buffer, then a fetch into a caller-owned block of the size reported. A block
// too small fails with 122 (ERROR_INSUFFICIENT_BUFFER) and reports the size needed.
#include <cstdint>
#include <string>

namespace kelpo {

using CacheFind = std::uint64_t;  // opaque walk handle; 0 means none

namespace cache {
inline constexpr std::int32_t kInsufficientBuffer = 122;
inline constexpr std::int32_t kNoMoreItems = 259;

inline constexpr std::uint32_t kNormalEntry = 0x1;
inline constexpr std::uint32_t kCookieEntry = 0x100000;
}  // namespace cache

// The fields of an entry record the walk looks at.
struct CacheEntryFields {
  // The source URL: a zero-terminated ANSI text inside the block, or null when the record
  // holds none (or points outside the block).
  const char* source_url = nullptr;
  std::uint32_t entry_type = 0;
};

class UrlCache {
 public:
  UrlCache() = default;
  UrlCache(const UrlCache&) = delete;
  UrlCache& operator=(const UrlCache&) = delete;
  virtual ~UrlCache() = default;

  // FindFirstUrlCacheEntryA with no search pattern. `block` may be null (with *size 0) to
  // probe. Returns the walk handle, or 0 with *error set to the thread's last error (122 with
  // *size set to the size needed; 259 for an empty cache).
  [[nodiscard]] virtual CacheFind FindFirst(std::uint8_t* block, std::uint32_t* size, std::int32_t* error) = 0;
  // FindNextUrlCacheEntryA: false with *error set, as above (259 after the last entry).
  [[nodiscard]] virtual bool FindNext(CacheFind find, std::uint8_t* block, std::uint32_t* size,
                        std::int32_t* error) = 0;
  // FindCloseUrlCache.
  virtual void CloseFind(CacheFind find) = 0;
  // DeleteUrlCacheEntryA. False when the entry could not be deleted.
  [[nodiscard]] virtual bool DeleteEntry(const std::string& source_url) = 0;
  // The fixed part of the record that a successful fetch left in the block of `size` bytes.
  virtual CacheEntryFields ReadEntry(const std::uint8_t* block, std::uint32_t size) const = 0;
};

}  // namespace kelpo
