#include "registry/subkey_iterator.h"

#include <array>
#include <string_view>

#include "text/strings.h"

namespace kelpo {
namespace {
constexpr std::uint32_t kNameBuffer = 255;
}  // namespace

SubkeyIterator::SubkeyIterator(Registry& registry, HKey key, std::optional<std::uint32_t> count)
    : registry_(registry), key_(key), count_(count) {
  Read();
}

SubkeyIterator::SubkeyIterator(Registry& registry, HKey root, const std::string& path) : registry_(registry) {
  opened_ = OpenRegistryKey(registry, root, path, &owned_) == reg::kSuccess;
  if (!opened_) return;
  key_ = owned_.get();
  Read();
}

SubkeyIterator& SubkeyIterator::operator++() {
  ++index_;
  Read();
  return *this;
}

void SubkeyIterator::Read() {
  if (count_ && index_ >= *count_) {
    status_ = reg::kNoMoreItems;
    name_.clear();
    return;
  }
  std::array<char, kNameBuffer> name{};
  std::uint32_t size = kNameBuffer;
  status_ = registry_.EnumKeyEx(key_, index_, name.data(), &size);
  name_ = status_ == reg::kSuccess ? std::string(UpToFirstZero(std::string_view(name.data(), name.size()))) : std::string();
}

}  // namespace kelpo
