#include "platform/sim/sim_url_cache.h"

#include <cstring>

#include "platform/runtime_error.h"

namespace kelpo {
namespace {

constexpr std::uint32_t kTypeOffset = 4;
constexpr std::uint32_t kUrlOffsetField = 8;

void Put32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }
std::uint32_t Get32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace

std::uint32_t SimUrlCache::SizeNeeded(const Entry& entry) const {
  const auto base = static_cast<std::uint32_t>(kFixedPart + entry.url.size() + 1);
  return entry.probed ? base + entry.growth : base;
}

bool SimUrlCache::Fetch(CacheOp op, std::size_t index, std::uint8_t* block, std::uint32_t* size,
                        std::int32_t* error) {
  CacheCall call{NextSimCallNumber(), op, block == nullptr, *size, 0, {}, 0};
  if (block != nullptr && *size >= 4) call.size_field = Get32(block);
  if (index < entries_.size()) call.url = entries_[index].url;
  const std::optional<SimFault<CacheOp>> fault = faults_.Hit(op, WidenBytes(call.url));
  if (fault) {
    call.error = fault->error;
    journal_.push_back(call);
    if (fault->throws) throw RuntimeError(fault->error);
    *error = fault->error;
    return false;
  }
  if (index >= entries_.size()) {
    call.error = cache::kNoMoreItems;
  } else {
    Entry& entry = entries_[index];
    const std::uint32_t needed = SizeNeeded(entry);
    if (block == nullptr || *size < needed) {
      call.error = cache::kInsufficientBuffer;
      *size = needed;
      entry.probed = true;
    } else {
      Put32(block + kTypeOffset, entry.type);
      Put32(block + kUrlOffsetField, entry.url_outside ? needed + 16 : kFixedPart);
      std::memcpy(block + kFixedPart, entry.url.c_str(), entry.url.size() + 1);
      *size = needed;
    }
  }
  journal_.push_back(call);
  *error = call.error;
  return call.error == 0;
}

CacheFind SimUrlCache::FindFirst(std::uint8_t* block, std::uint32_t* size, std::int32_t* error) {
  if (!Fetch(CacheOp::kFindFirst, 0, block, size, error)) return 0;
  const CacheFind find = next_find_++;
  walks_[find] = 1;
  return find;
}

bool SimUrlCache::FindNext(CacheFind find, std::uint8_t* block, std::uint32_t* size,
                           std::int32_t* error) {
  const auto walk = walks_.find(find);
  const std::size_t index = walk == walks_.end() ? entries_.size() : walk->second;
  if (!Fetch(CacheOp::kFindNext, index, block, size, error)) return false;
  ++walk->second;
  return true;
}

void SimUrlCache::CloseFind(CacheFind find) {
  const std::optional<SimFault<CacheOp>> fault = faults_.Hit(CacheOp::kCloseFind, L"");
  journal_.push_back({NextSimCallNumber(), CacheOp::kCloseFind, false, 0, 0, {}, fault ? fault->error : 0});
  walks_.erase(find);
  if (fault && fault->throws) throw RuntimeError(fault->error);
}

bool SimUrlCache::DeleteEntry(const std::string& source_url) {
  CacheCall call{NextSimCallNumber(), CacheOp::kDeleteEntry, false, 0, 0, source_url, 0};
  const std::optional<SimFault<CacheOp>> fault = faults_.Hit(CacheOp::kDeleteEntry, WidenBytes(source_url));
  std::size_t index = 0;
  while (index < entries_.size() && entries_[index].url != source_url) ++index;
  if (fault) call.error = fault->error;
  else if (index == entries_.size()) call.error = 2;  // ERROR_FILE_NOT_FOUND
  journal_.push_back(call);
  if (fault && fault->throws) throw RuntimeError(fault->error);
  if (call.error != 0) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  // A walk still open carries on with the entry that followed the deleted one.
  for (auto& [find, next] : walks_)
    if (next > index) --next;
  return true;
}

CacheEntryFields SimUrlCache::ReadEntry(const std::uint8_t* block, std::uint32_t size) const {
  CacheEntryFields fields;
  if (block == nullptr || size < kFixedPart) return fields;
  fields.entry_type = Get32(block + kTypeOffset);
  const std::uint32_t url_offset = Get32(block + kUrlOffsetField);
  if (url_offset < size && std::memchr(block + url_offset, 0, size - url_offset) != nullptr)
    fields.source_url = reinterpret_cast<const char*>(block + url_offset);
  return fields;
}

void SimUrlCache::AddEntry(const std::string& url, std::uint32_t entry_type) {
  entries_.push_back({url, entry_type, 0, false});
}

void SimUrlCache::GrowAfterProbe(const std::string& url, std::uint32_t extra) {
  for (Entry& entry : entries_)
    if (entry.url == url) entry.growth = extra;
}

void SimUrlCache::PointUrlOutsideBlock(const std::string& url) {
  for (Entry& entry : entries_)
    if (entry.url == url) entry.url_outside = true;
}

std::vector<std::string> SimUrlCache::urls() const {
  std::vector<std::string> urls;
  for (const Entry& entry : entries_) urls.push_back(entry.url);
  return urls;
}

}  // namespace kelpo
