// Any setting name: the policy writer writes only its known values, within their byte limits.
#include "fuzz_rig.h"

namespace kelpo::fuzz {
namespace {

void CheckValues(Rig& rig, const std::string& setting) {
  HKey key = 0;
  Require(rig.registry.OpenKey(reg::kCurrentUser, "Software\\F", &key) == reg::kSuccess);
  for (std::uint32_t i = 0;; ++i) {
    char name[20000];
    std::uint8_t data[20000];
    std::uint32_t name_size = sizeof name, data_size = sizeof data, type = 0;
    if (rig.registry.EnumValue(key, i, name, &name_size, &type, data, &data_size) != reg::kSuccess) break;
    const std::string value(name, name_size);
    if (value == ":Range") Require(type == reg::kRegSz && data_size <= 15);
    else if (value == "PopupBlockerWhitelist") Require(type == reg::kRegSz && data_size <= 10000);
    else if (type == reg::kRegDword) Require(data_size == 4);
    else Require(value == "Version" && data_size == 1);
  }
  rig.registry.CloseKey(key);
  (void)setting;
}

}  // namespace
}  // namespace kelpo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::wstring setting = rig.codec.FromAnsi(bytes);
  rig.writer.Write(reg::kCurrentUser, L"Software\\F", setting);
  fuzz::CheckValues(rig, bytes);
  fuzz::Require(rig.desktop.messages().empty());
  fuzz::Require(rig.registry.open_handle_count() == 0);
  return 0;
}
