// Any site list: every write stays below HKEY_CURRENT_USER in the zone map or the two
// white-lists, ranges are numbered in order, and nothing is shown.
#include "fuzz_rig.h"
#include "zonemap/site_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelpo;
  fuzz::Rig rig;
  rig.registry.set_journaling(true);
  fuzz::Bytes in(data, size);
  {
    // The writer holds its keys open for its run; they are closed when it goes.
    SiteWriter writer(rig.writer, rig.reader);
    while (!in.empty()) writer.WriteSite(rig.codec.FromAnsi(in.Take(in.Byte() % 64)));
    writer.WriteGoogleWhitelist();
  }
  // The keys on the way to the three trees are created a key at a time, so a key above one of
  // them may be created too, but never one beside them.
  const char* const trees[] = {
      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\",
      "HKEY_CURRENT_USER\\Software\\Baidu\\BaiduBar\\WhiteList",
      "HKEY_CURRENT_USER\\Software\\Google\\Google Toolbar\\4.0\\Options"};
  for (const RegCall& call : rig.registry.journal()) {
    fuzz::Require(call.op != RegOp::kDeleteKey);
    if (call.op != RegOp::kCreateKey) continue;
    bool allowed = false;
    for (const std::string tree : trees)
      allowed = allowed || call.path.rfind(tree, 0) == 0 || tree.rfind(call.path + "\\", 0) == 0;
    fuzz::Require(allowed);
  }
  fuzz::Require(rig.desktop.messages().empty());
  fuzz::Require(rig.registry.open_handle_count() == 0);
  return 0;
}
