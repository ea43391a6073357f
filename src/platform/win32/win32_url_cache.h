#pragma once
// The URL cache through WinINet. <wininet.h> is included by the .cpp alone: it clashes with
// other system headers.
#include "platform/url_cache.h"

namespace kelpo {

class Win32UrlCache final : public UrlCache {
 public:
  CacheFind FindFirst(std::uint8_t* block, std::uint32_t* size, std::int32_t* error) override;
  bool FindNext(CacheFind find, std::uint8_t* block, std::uint32_t* size, std::int32_t* error) override;
  void CloseFind(CacheFind find) override;
  bool DeleteEntry(const std::string& source_url) override;
  CacheEntryFields ReadEntry(const std::uint8_t* block, std::uint32_t size) const override;
};

}  // namespace kelpo
