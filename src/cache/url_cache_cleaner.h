#pragma once
// The URL cache of the current user: list the entries of given types, delete one by its URL,
// and the clearing the apply does on Internet Explorer 6.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/text_codec.h"
#include "platform/url_cache.h"

namespace kelpo {

class UrlCacheCleaner {
 public:
  UrlCacheCleaner(UrlCache& cache, const TextCodec& codec) : cache_(cache), codec_(codec) {}
  explicit UrlCacheCleaner(const Platform& platform) : UrlCacheCleaner(platform.url_cache, platform.codec) {}

  // The source URLs of the entries whose type shares a bit with `mask`, in the order the walk
  // meets them; an entry whose URL cannot be read (its pointer lies outside the record's
  // block) is passed over. Any failed cache call or allocation ends the walk quietly: what was
  // collected so far is returned (empty when the walk cannot start). Run-time errors are not
  // trapped.
  std::vector<std::wstring> CollectUrls(std::uint32_t mask);
  // True when the cache deleted the entry.
  [[nodiscard]] bool DeleteEntry(const std::wstring& url);
  // Deletes the normal entries, then the cookies, each in the order listed. True when every
  // entry listed was deleted.
  [[nodiscard]] bool Clear();

 private:
  UrlCache& cache_;
  const TextCodec& codec_;
};

}  // namespace kelpo
