// Random zone-map trees (key names, depths, value types and sizes): the readers and the clearing
// of Trusted sites entries end and close every key, and the tree deletion removes what it says
// it removed.
#include "fuzz_rig.h"
#include "registry/key_paths.h"
#include "registry/registry_key.h"
#include "zonemap/trusted_entries.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo::fuzz {
namespace {

const std::string kZoneMap = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\";

void Grow(Rig& rig, Bytes& in) {
  const char* const branches[] = {"Domains", "Ranges", "EscRanges"};
  while (!in.empty()) {
    std::string path = kZoneMap + branches[in.Byte() % 3];
    const int depth = in.Byte() % 6;
    for (int level = 0; level < depth; ++level) {
      std::string name = in.Take(in.Byte() % 40);
      for (char& c : name)
        if (c == '\\' || c == '\0') c = '_';
      if (!name.empty()) path += "\\" + name;
    }
    HKey key = 0;
    if (rig.registry.CreateKey(reg::kCurrentUser, path, &key) != reg::kSuccess) continue;
    const int values = in.Byte() % 4;
    for (int v = 0; v < values; ++v) {
      const std::uint8_t kind = in.Byte();
      const std::string name = kind & 1 ? ":Range" : in.Take(in.Byte() % 8);
      const std::string value = in.Take(kind % 2 ? in.Byte() : in.Byte() % 5);
      rig.registry.SetValue(key, name, kind % 8, reinterpret_cast<const std::uint8_t*>(value.data()),
                            static_cast<std::uint32_t>(value.size()));
    }
    rig.registry.CloseKey(key);
  }
}

}  // namespace
}  // namespace kelpo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  fuzz::Bytes in(data, size);
  fuzz::Grow(rig, in);
  ZoneMapReader zone_map(rig.platform);
  std::vector<std::wstring> items = zone_map.TrustedDomains();
  const std::vector<std::wstring> ranges = zone_map.TrustedRanges();
  items.insert(items.end(), ranges.begin(), ranges.end());
  const RangeSearch search = zone_map.FindRange(keys::kEscRanges, L"http://10.0.0.1");
  fuzz::Require(search.keys_visited >= 0);
  for (const std::wstring& item : items) fuzz::Require(item.find(L'\0') == std::wstring::npos);
  fuzz::Require(rig.registry.open_handle_count() == 0);
  const std::string domains = fuzz::kZoneMap + "Domains";
  static_cast<void>(ClearTrustedEntries(rig.registry, reg::kCurrentUser, fuzz::kZoneMap + "Ranges", true));
  static_cast<void>(ClearTrustedEntries(rig.registry, reg::kCurrentUser, domains, false));
  fuzz::Require(rig.registry.open_handle_count() == 0);
  if (DeleteRegistryTree(rig.registry, reg::kCurrentUser, domains) == reg::kSuccess) {
    HKey gone = 0;
    fuzz::Require(rig.registry.OpenKey(reg::kCurrentUser, domains, &gone) == reg::kFileNotFound);
  }
  fuzz::Require(rig.registry.open_handle_count() == 0);
  return 0;
}
