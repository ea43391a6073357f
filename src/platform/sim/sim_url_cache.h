#pragma once
// A URL cache for tests, walked like WinINet's: a fetch into a block too small fails with 122
// and reports the size needed. The record laid into the block is the sim's own: the 32-bit
// size field, the entry type, the offset of the URL, padding to 80 bytes, then the URL and its
// zero. Every call is recorded in order; any call can be made to fail or to throw.
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_faults.h"
#include "platform/url_cache.h"

namespace kelpo {

enum class CacheOp { kAny, kFindFirst, kFindNext, kCloseFind, kDeleteEntry };

struct CacheCall {
  std::uint64_t number = 0;       // order among the calls of every sim port
  CacheOp op = CacheOp::kAny;
  bool probe = false;             // no block given
  std::uint32_t size_given = 0;   // *size on entry
  std::uint32_t size_field = 0;   // the block's first 32 bits on entry (fetches only)
  std::string url;                // the entry fetched or deleted
  std::int32_t error = 0;         // 0 when the call succeeded
};

class SimUrlCache final : public UrlCache {
 public:
  static constexpr std::uint32_t kFixedPart = 80;

  CacheFind FindFirst(std::uint8_t* block, std::uint32_t* size, std::int32_t* error) override;
  bool FindNext(CacheFind find, std::uint8_t* block, std::uint32_t* size,
                std::int32_t* error) override;
  void CloseFind(CacheFind find) override;
  bool DeleteEntry(const std::string& source_url) override;
  CacheEntryFields ReadEntry(const std::uint8_t* block, std::uint32_t size) const override;

  // --- Test controls ---
  void AddEntry(const std::string& url, std::uint32_t entry_type);
  // Once its size has been probed, the entry needs `extra` more bytes: the fetch that follows
  // the probe fails with 122.
  void GrowAfterProbe(const std::string& url, std::uint32_t extra);
  // The entry's record points its URL past the end of the block it is fetched into.
  void PointUrlOutsideBlock(const std::string& url);
  // Faults match on the URL of the entry the call would fetch or delete.
  void InjectFault(const SimFault<CacheOp>& fault) { faults_.Inject(fault); }
  std::vector<std::string> urls() const;
  std::size_t open_walk_count() const { return walks_.size(); }
  const std::vector<CacheCall>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

 private:
  struct Entry {
    std::string url;
    std::uint32_t type = 0;
    std::uint32_t growth = 0;
    bool probed = false;
    bool url_outside = false;
  };

  std::uint32_t SizeNeeded(const Entry& entry) const;
  // Fetches entry `index` into the block, or fails with *error set.
  bool Fetch(CacheOp op, std::size_t index, std::uint8_t* block, std::uint32_t* size,
             std::int32_t* error);

  std::vector<Entry> entries_;
  std::map<CacheFind, std::size_t> walks_;  // walk handle -> index of the next entry
  SimFaults<CacheOp> faults_;
  std::vector<CacheCall> journal_;
  CacheFind next_find_ = 0x10;
};

}  // namespace kelpo
