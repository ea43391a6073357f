#include "registry/value_list.h"

#include <array>
#include <string_view>

#include "text/strings.h"

namespace kelpo {
namespace {
constexpr std::uint32_t kEnumBufferSize = 255;
}  // namespace

std::vector<ListedValue> ListValues(Registry& registry, HKey key, std::optional<std::uint32_t> count) {
  std::vector<ListedValue> values;
  for (std::uint32_t index = 0; !count || index < *count; ++index) {
    std::array<char, kEnumBufferSize> name{};
    std::array<std::uint8_t, kEnumBufferSize> data{};
    std::uint32_t name_size = kEnumBufferSize;
    std::uint32_t data_size = kEnumBufferSize;
    std::uint32_t type = 0;
    const RegStatus status = registry.EnumValue(key, index, name.data(), &name_size, &type, data.data(), &data_size);
    if (status == reg::kNoMoreItems) break;
    const std::size_t data_length = data_size < kEnumBufferSize ? data_size : kEnumBufferSize;
    values.push_back({std::string(UpToFirstZero(std::string_view(name.data(), name.size()))), type,
                      std::string(reinterpret_cast<const char*>(data.data()), data_length), status == reg::kSuccess});
    // Only a full buffer still counts as a value; any other failure would repeat for ever.
    if (status != reg::kSuccess && status != reg::kMoreData) break;
  }
  return values;
}

bool ListedValue::HoldsDword(std::uint32_t number) const {
  const std::array<char, 4> bytes{static_cast<char>(number), static_cast<char>(number >> 8),
                                  static_cast<char>(number >> 16), static_cast<char>(number >> 24)};
  return whole && type == reg::kRegDword && data == std::string_view(bytes.data(), bytes.size());
}

}  // namespace kelpo
