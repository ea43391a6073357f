#include "windows/start_up.h"

#include "apply/companion_files.h"
#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "text/site_address.h"
#include "windows/setup_file.h"

namespace kelpo {
namespace {

bool CompanionFilesPresent(const Platform& platform) {
  for (const std::wstring_view name : {companion::kRegistryScript, companion::kFlashInstaller, companion::kSetupFile})
    if (!RequireCompanionFile(platform, name)) return false;
  return true;
}

}  // namespace

std::optional<StartUpFindings> ReadStartUp(const Platform& platform) {
  if (!CompanionFilesPresent(platform)) return std::nullopt;
  StartUpFindings findings;
  RegistryReader reader(platform);
  findings.versions = ReadVersionsAsStored(reader);
  const SetupFileContents contents =
      ReadSetupFileContents(platform.files, platform.codec, CompanionPath(platform.files, companion::kSetupFile));
  findings.setup_address = NormaliseSiteAddress(contents.raw_url);
  findings.automatic_mode = contents.auto_mode;
  return findings;
}

AutomaticApplyOutcome ApplySetupSite(const Platform& platform, const StartUpFindings& start_up) {
  return ApplyAutomatically(platform, start_up.versions, start_up.setup_address);
}

}  // namespace kelpo
