#pragma once
// The WinINet URL cache, shaped after its four calls. An entry is fetched into a caller-owned
// buffer; a buffer too small gives 122 (ERROR_INSUFFICIENT_BUFFER) with *size set to the size
// needed, so the caller probes with size 0 first.
#include <cstdint>
#include <string>

namespace kelpo {

using CacheFind = std::uint64_t;  // opaque enumeration handle; 0 means none

struct CacheEntryView {
  std::string source_url;   // ANSI bytes
  std::uint32_t entry_type = 0;
};

namespace cache {
inline constexpr std::int32_t kInsufficientBuffer = 122;
inline constexpr std::int32_t kNoMoreItems = 259;
}  // namespace cache

class UrlCache {
 public:
  UrlCache() = default;
  UrlCache(const UrlCache&) = delete;
  UrlCache& operator=(const UrlCache&) = delete;
  virtual ~UrlCache() = default;

  // FindFirstUrlCacheEntryA. On success *find is set and *entry filled; otherwise the error.
  virtual std::int32_t FindFirst(std::uint32_t* size, CacheEntryView* entry, CacheFind* find) = 0;
  // FindNextUrlCacheEntryA.
  virtual std::int32_t FindNext(CacheFind find, std::uint32_t* size, CacheEntryView* entry) = 0;
  // FindCloseUrlCache.
  virtual void CloseFind(CacheFind find) = 0;
  // DeleteUrlCacheEntryA. False when the entry could not be deleted.
  virtual bool DeleteEntry(const std::string& source_url) = 0;
};

}  // namespace kelpo
