#include "reports/browser_versions.h"

#include "registry/key_paths.h"
#include "text/strings.h"

namespace kelpo {
namespace {

std::wstring IeVersion(RegistryReader& reader) {
  return reader.ReadText(reg::kLocalMachine, keys::kInternetExplorer, keys::kIeVersionValue);
}

}  // namespace

BrowserVersions ReadVersions(RegistryReader& reader) {
  return {IeVersion(reader),
          DotsForCommas(reader.ReadText(reg::kLocalMachine, keys::kFlashPlayer, keys::kFlashVersionValue))};
}

BrowserVersions ReadVersionsAsStored(RegistryReader& reader) {
  const StoredText flash = reader.ReadStoredText(reg::kLocalMachine, keys::kFlashPlayer, keys::kFlashVersionValue);
  return {IeVersion(reader), DotsForCommas(CutAtZero(flash.text))};
}

}  // namespace kelpo
