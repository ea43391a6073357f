#include "windows/system_check_window.h"

#include "apply/companion_files.h"
#include "apply/program_steps.h"
#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "reports/check_report.h"
#include "windows/trusted_sites_window.h"

namespace kelpo {
namespace {

constexpr const wchar_t* kUndoTitle = L"撤消";

// regedit.exe, two blanks, /s and one blank, then the quoted script: started directly, not
// through the scripting shell.
std::wstring BackupImportCommand(const Files& files) {
  return L"regedit.exe  /s \"" + CompanionPath(files, companion::kBackup) + L"\"";
}

}  // namespace

SystemCheckWindow::SystemCheckWindow(const WindowContext& context)
    : Window(L"FrmCheck", L"当前系统检测", 8460, 4785), context_(context) {
  next_button.on_click = [this] { OnNextClicked(); };
  close_button.on_click = [this] { OnCloseClicked(); };
  undo_button.on_click = [this] { OnUndoClicked(); };
}

void SystemCheckWindow::OnLoad() {
  RegistryReader reader(context_.platform);
  const BrowserVersions versions = ReadVersions(reader);
  ie_version_label.SetCaption(versions.internet_explorer);
  flash_version_label.SetCaption(versions.flash_player);
  for (std::wstring& line : SystemCheckReport(context_.platform, versions).lines) report_list.AddItem(std::move(line));
}

void SystemCheckWindow::OnNextClicked() {
  context_.navigator.Show(std::make_unique<TrustedSitesWindow>(context_));
  context_.navigator.Unload(*this);
}

void SystemCheckWindow::OnCloseClicked() { context_.navigator.EndProgram(); }

void SystemCheckWindow::OnUndoClicked() {
  const Platform& platform = context_.platform;
  if (CompanionFileExists(platform.files, companion::kBackup)) {
    if (platform.desktop.ShowMessage(L"确定要撤消修改的IE属性吗？", kUndoTitle, box::kIconInformation | box::kYesNo) ==
        box::kAnswerNo)
      return;
    // A backup that could not be imported still ends in the success message, as designed.
    static_cast<void>(StartAndWait(platform.processes, BackupImportCommand(platform.files)));
  }
  report_list.Clear();
  OnLoad();
  platform.desktop.ShowMessage(L"撤消成功！", kUndoTitle, box::kIconInformation | box::kOk);
}

}  // namespace kelpo
