// Any site list: every write stays below HKEY_CURRENT_USER in the zone map or the two
// white-lists, ranges are numbered in order, and nothing is shown.
#include "fuzz_rig.h"
#include "zonemap/site_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  rig.registry.set_journaling(true);
  fuzz::Bytes in(data, size);
  SiteWriter writer(rig.writer, rig.reader);
  while (!in.empty()) writer.WriteSite(rig.codec.FromAnsi(in.Take(in.Byte() % 64)));
  writer.WriteGoogleWhitelist();
  for (const RegCall& call : rig.registry.journal()) {
    fuzz::Require(call.op != RegOp::kDeleteKey);
    if (call.op != RegOp::kCreateKey) continue;
    const bool allowed = call.path.rfind("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\", 0) == 0 ||
                         call.path.rfind("HKEY_CURRENT_USER\\Software\\Baidu\\BaiduBar\\WhiteList", 0) == 0 ||
                         call.path.rfind("HKEY_CURRENT_USER\\Software\\Google\\Google Toolbar\\4.0\\Options", 0) == 0;
    fuzz::Require(allowed);
  }
  fuzz::Require(rig.desktop.messages().empty());
  fuzz::Require(rig.registry.open_handle_count() == 0);
  return 0;
}
