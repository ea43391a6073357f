#include "windows/start_up_window.h"

#include "apply/automatic_apply.h"
#include "apply/companion_files.h"
#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "text/site_address.h"
#include "windows/completion_window.h"
#include "windows/setup_file.h"
#include "windows/system_check_window.h"

namespace kelpo {

StartUpWindow::StartUpWindow(const WindowContext& context)
    : Window(L"frmAutoSet", L"自动设定", 4785, 1380), context_(context) {}

void StartUpWindow::OnLoad() {
  if (!CompanionFilesPresent()) {
    context_.navigator.Unload(*this);
    return;
  }
  RegistryReader reader(context_.platform);
  const BrowserVersions versions = ReadVersionsAsStored(reader);
  flash_version_label.SetCaption(versions.flash_player);
  ie_version_label.SetCaption(versions.internet_explorer);
  ReadSetupFile();
  if (automatic_mode_) {
    ApplyAutomatically(context_.platform, versions, setup_address_);
    status_label.SetCaption(L"设定完成。");
    context_.navigator.Show(std::make_unique<CompletionWindow>(context_));
  } else {
    context_.navigator.Show(std::make_unique<SystemCheckWindow>(context_));
  }
  context_.navigator.Unload(*this);
}

// The first file missing is named in a message and ends the start-up.
bool StartUpWindow::CompanionFilesPresent() {
  for (const std::wstring_view name : {companion::kRegistryScript, companion::kFlashInstaller, companion::kSetupFile})
    if (!RequireCompanionFile(context_.platform, name)) return false;
  return true;
}

void StartUpWindow::ReadSetupFile() {
  const Platform& platform = context_.platform;
  const SetupFileContents contents =
      ReadSetupFileContents(platform.files, platform.codec, CompanionPath(platform.files, companion::kSetupFile));
  automatic_mode_ = contents.auto_mode;
  setup_address_ = NormaliseSiteAddress(contents.raw_url);
}

}  // namespace kelpo
