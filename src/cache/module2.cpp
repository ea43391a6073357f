#include "cache/module2.h"

#include <cstring>
#include <memory>
#include <new>
#include <utility>

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

// The walk handle, closed exactly once.
class CacheWalk {
 public:
  CacheWalk(UrlCache& cache, CacheFind find) : cache_(cache), find_(find) {}
  CacheWalk(const CacheWalk&) = delete;
  CacheWalk& operator=(const CacheWalk&) = delete;
  ~CacheWalk() {
    try {
      Close();
    } catch (...) {
      // Unwinding already: the handle is abandoned either way.
    }
  }
  CacheFind get() const { return find_; }
  void Close() {
    if (find_ != 0) cache_.CloseFind(std::exchange(find_, 0));
  }

 private:
  UrlCache& cache_;
  CacheFind find_;
};

}  // namespace

std::wstring PtrToAnsiString(const char* address, const TextCodec& codec) {
  if (address == nullptr) return L"";
  return codec.FromAnsi(std::string_view(address, std::strlen(address)));
}

std::vector<std::wstring> Module2::CollectCacheUrls(std::uint32_t mask) {
  std::vector<std::wstring> urls;
  std::uint32_t size = 0;
  std::int32_t error = 0;
  // Only a probe that fails for want of a buffer lets the walk start.
  if (CacheWalk(cache_, cache_.FindFirst(nullptr, &size, &error)).get() != 0 ||
      error != cache::kInsufficientBuffer)
    return urls;
  EntryBlock block = EntryBlock::Allocate(size);
  if (!block) return urls;
  CacheWalk walk(cache_, cache_.FindFirst(block.bytes.get(), &size, &error));
  if (walk.get() == 0) return urls;
  for (;;) {
    const CacheEntryFields fields = cache_.ReadEntry(block.bytes.get(), block.size);
    // A record whose URL could not be read names no entry: collecting it as "" would delete
    // by an empty URL.
    if ((fields.entry_type & mask) != 0 && fields.source_url != nullptr)
      urls.push_back(PtrToAnsiString(fields.source_url, codec_));
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

bool Module2::DeleteCacheEntry(const std::wstring& url) {
  return cache_.DeleteEntry(codec_.ToAnsi(url));
}

}  // namespace kelpo
