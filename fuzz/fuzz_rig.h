#pragma once
// The in-memory platform a fuzz target drives, and a reader of the fuzzer's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/sim_platform.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"

namespace kelpo::fuzz {

struct Rig : SimPlatform {
  Rig() { registry.set_journaling(false); }
  PolicyWriter writer{platform};
  RegistryReader reader{platform};
};

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return empty() ? 0 : data_[at_++]; }
  std::string Take(std::size_t count) {
    count = count < size_ - at_ ? count : size_ - at_;
    std::string out(reinterpret_cast<const char*>(data_ + at_), count);
    at_ += count;
    return out;
  }
  std::string Rest() { return Take(size_ - at_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A broken promise: abort so the fuzzer keeps the input.
inline void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace kelpo::fuzz
