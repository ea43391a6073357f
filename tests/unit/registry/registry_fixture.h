#pragma once
// A registry, codec and desktop for driving the registry reader and the policy writer headless.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_codec.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"

namespace kelpo::testing {

struct StoredValue {
  std::string name;
  std::uint32_t type;
  std::string data;
  bool operator==(const StoredValue&) const = default;
};

inline void PrintTo(const StoredValue& v, std::ostream* os) {
  *os << "{" << v.name << ", type " << v.type << ", " << v.data.size() << " bytes \"";
  for (char c : v.data) *os << (c == '\0' ? std::string("\\0") : std::string(1, c));
  *os << "\"}";
}

inline std::string Dword(std::uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}

class RegistryTest : public ::testing::Test {
 protected:
  explicit RegistryTest(const TextCodec* codec = nullptr)
      : codec_(codec ? *codec : utf8_), reader_(registry_, codec_, desktop_), writer_(registry_, codec_, desktop_) {}

  // Every value of a key, in enumeration order; empty when the key is missing.
  std::vector<StoredValue> Values(HKey root, const std::string& path) {
    std::vector<StoredValue> values;
    HKey key = 0;
    if (registry_.OpenKey(root, path, &key) != reg::kSuccess) return values;
    for (std::uint32_t i = 0;; ++i) {
      std::vector<char> name(20000);
      std::vector<std::uint8_t> data(20000);
      std::uint32_t name_size = 20000, data_size = 20000, type = 0;
      if (registry_.EnumValue(key, i, name.data(), &name_size, &type, data.data(), &data_size) != reg::kSuccess) break;
      values.push_back({std::string(name.data(), name_size), type,
                        std::string(reinterpret_cast<char*>(data.data()), data_size)});
    }
    registry_.CloseKey(key);
    return values;
  }
  std::vector<StoredValue> UserValues(const std::string& path) { return Values(reg::kCurrentUser, path); }

  bool KeyExists(HKey root, const std::string& path) {
    HKey key = 0;
    if (registry_.OpenKey(root, path, &key) != reg::kSuccess) return false;
    registry_.CloseKey(key);
    return true;
  }

  void Put(HKey root, const std::string& path, const std::string& name, std::uint32_t type, const std::string& data) {
    HKey key = 0;
    ASSERT_EQ(registry_.CreateKey(root, path, &key), reg::kSuccess);
    registry_.SetValue(key, name, type, reinterpret_cast<const std::uint8_t*>(data.data()),
                       static_cast<std::uint32_t>(data.size()));
    registry_.CloseKey(key);
  }

  SimRegistry registry_;
  Utf8Codec utf8_;
  const TextCodec& codec_;
  SimDesktop desktop_;
  RegistryReader reader_;
  PolicyWriter writer_;
};

}  // namespace kelpo::testing
