#pragma once
// The URL cache of the current user: list the entries of given types, delete one by its URL.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/text_codec.h"
#include "platform/url_cache.h"

namespace kelpo {

// The zero-terminated ANSI text at `address`, as text; empty for a null address.
std::wstring PtrToAnsiString(const char* address, const TextCodec& codec);

class Module2 {
 public:
  Module2(UrlCache& cache, const TextCodec& codec) : cache_(cache), codec_(codec) {}
  explicit Module2(const Platform& platform) : Module2(platform.url_cache, platform.codec) {}

  // The source URLs of the entries whose type shares a bit with `mask`, in the order the walk
  // meets them; an entry whose URL cannot be read (its pointer lies outside the record's
  // block) is passed over. Any failed cache call or allocation ends the walk quietly: what was
  // collected so far is returned (empty when the walk cannot start). Run-time errors are not
  // trapped.
  std::vector<std::wstring> CollectCacheUrls(std::uint32_t mask);
  // True when the cache deleted the entry.
  bool DeleteCacheEntry(const std::wstring& url);

 private:
  UrlCache& cache_;
  const TextCodec& codec_;
};

}  // namespace kelpo
