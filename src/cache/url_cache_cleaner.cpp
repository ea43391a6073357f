#include "cache/url_cache_cleaner.h"

#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "platform/unique_resource.h"

namespace kelpo {
namespace {

// One entry's block, sized as the cache asked; freed before the next one is allocated.
struct EntryBlock {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::uint32_t size = 0;

  // A block whose record size field already holds its size; empty when memory runs out.
  static EntryBlock Allocate(std::uint32_t size) {
    EntryBlock block{std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size ? size : 1]), size};
    if (block.bytes && size >= sizeof size) std::memcpy(block.bytes.get(), &size, sizeof size);
    return block;
  }
  explicit operator bool() const { return bytes != nullptr; }
};

// Ends a walk of the cache.
class WalkCloser {
 public:
  using Handle = CacheFind;
  static constexpr CacheFind kNone = 0;
  static bool Owns(CacheFind find) { return find != 0; }
  WalkCloser() = default;
  explicit WalkCloser(UrlCache& cache) : cache_(&cache) {}
  void Close(CacheFind find) { cache_->CloseFind(find); }

 private:
  UrlCache* cache_ = nullptr;
};
using CacheWalk = UniqueResource<WalkCloser>;

}  // namespace

std::vector<std::wstring> UrlCacheCleaner::CollectUrls(std::uint32_t mask) {
  std::vector<std::wstring> urls;
  std::uint32_t size = 0;
  std::int32_t error = 0;
  // Only a probe that fails for want of a buffer lets the walk start.
  if (CacheWalk(cache_.FindFirst(nullptr, &size, &error), WalkCloser(cache_)).get() != 0 ||
      error != cache::kInsufficientBuffer)
    return urls;
  EntryBlock block = EntryBlock::Allocate(size);
  if (!block) return urls;
  CacheWalk walk(cache_.FindFirst(block.bytes.get(), &size, &error), WalkCloser(cache_));
  if (walk.get() == 0) return urls;
  for (;;) {
    const CacheEntryFields fields = cache_.ReadEntry(block.bytes.get(), block.size);
    // A record whose URL could not be read names no entry: collecting it as "" would delete
    // by an empty URL.
    if ((fields.entry_type & mask) != 0 && fields.source_url != nullptr)
      urls.push_back(codec_.FromAnsi(std::string_view(fields.source_url)));
    block = EntryBlock{};
    size = 0;
    if (!cache_.FindNext(walk.get(), nullptr, &size, &error) &&
        (error == cache::kNoMoreItems || size == 0))
      break;
    block = EntryBlock::Allocate(size);
    // A block that no longer fits (the entry grew since its probe) ends the walk here.
    if (!block || !cache_.FindNext(walk.get(), block.bytes.get(), &size, &error)) break;
  }
  walk.Close();
  return urls;
}

bool UrlCacheCleaner::DeleteEntry(const std::wstring& url) { return cache_.DeleteEntry(codec_.ToAnsi(url)); }

bool UrlCacheCleaner::Clear() {
  bool all_deleted = true;
  for (const std::uint32_t mask : {cache::kNormalEntry, cache::kCookieEntry})
    for (const std::wstring& url : CollectUrls(mask)) all_deleted = DeleteEntry(url) && all_deleted;
  return all_deleted;
}

}  // namespace kelpo
