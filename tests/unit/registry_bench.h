#pragma once
// The registry side of the zone-map and apply tests: an in-memory registry behind the registry
// reader and the policy writer, and the values written, as short readable lines in the order
// they were written.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text_codec.h"
#include "registry/policy_writer.h"
#include "registry/registry_reader.h"

namespace kelpo::testing {

struct RegistryBench {
  // Each value written: "<key> <value name>=<data>", the key shortened to what follows
  // "ZoneMap\" or to a short name, a DWORD as "dword:N", a text as its bytes with a closing
  // zero shown as "\0".
  std::vector<std::string> Writes() const {
    std::vector<std::string> lines;
    for (const RegCall& call : registry.journal())
      if (call.op == RegOp::kSetValue) lines.push_back(Describe(call));
    return lines;
  }

  static std::string Describe(const RegCall& call) {
    std::string data = call.data;
    if (!data.empty() && data.back() == '\0') data = data.substr(0, data.size() - 1) + "\\0";
    if (call.type == reg::kRegDword && call.data.size() == 4) {
      std::uint32_t number = 0;
      for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(call.data[i]);
      data = "dword:" + std::to_string(number);
    }
    return ShortKey(call.path) + " " + call.value + "=" + data;
  }

  static std::string ShortKey(const std::string& path) {
    static const std::pair<const char*, const char*> kShort[] = {
        {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\", ""},
        {"HKEY_CURRENT_USER\\Software\\Baidu\\BaiduBar\\WhiteList", "Baidu"},
        {"HKEY_CURRENT_USER\\Software\\Google\\Google Toolbar\\4.0\\Options", "Google"},
        {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2", "Zone2"},
        {"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\New Windows", "NewWindows"},
        {"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TabbedBrowsing", "TabbedBrowsing"},
    };
    // Key names compare without regard to case: a key keeps the spelling it was created with.
    const auto upper = [](std::string text) {
      for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return text;
    };
    for (const auto& [prefix, name] : kShort)
      if (upper(path).rfind(upper(prefix), 0) == 0) return name + path.substr(std::string(prefix).size());
    return path;
  }

  SimRegistry registry;
  Utf8Codec codec;
  SimDesktop desktop;
  PolicyWriter writer{registry, codec, desktop};
  RegistryReader reader{registry, codec, desktop};
};

class RegistryBenchTest : public ::testing::Test, protected RegistryBench {};

}  // namespace kelpo::testing
