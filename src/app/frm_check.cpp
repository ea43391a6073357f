#include "app/frm_check.h"

#include "app/companion_files.h"
#include "app/main_form.h"
#include "engine/program_steps.h"
#include "reports/addon_inspection.h"
#include "reports/browser_keys.h"
#include "reports/check_report.h"

namespace kelpo {

FrmCheck::FrmCheck(const WindowContext& context)
    : Window(L"FrmCheck", L"当前系统检测", 8460, 4785), context_(context) {
  btnOk.on_click = [this] { btnOk_Click(); };
  btnClose.on_click = [this] { btnClose_Click(); };
  btnCancel.on_click = [this] { btnCancel_Click(); };
}

void FrmCheck::Form_Load() {
  WriteSystemCheck(context_.platform, lblIEVersion, lblTemp, List);
  FindStatsKeys(reg::kCurrentUser, keys::kAddOnStats);
}

void FrmCheck::FindStatsKeys(HKey root, const std::wstring& key_path) {
  ReportInstalledToolbars(context_.platform, root, key_path, List);
}

void FrmCheck::btnOk_Click() {
  context_.navigator.Show(std::make_unique<Main>(context_));
  context_.navigator.Unload(*this);
}

void FrmCheck::btnClose_Click() { context_.navigator.EndProgram(); }

namespace {
constexpr const wchar_t* kUndoTitle = L"撤消";

// regedit.exe, two blanks, /s and one blank, then the quoted script: started directly, not
// through the scripting shell.
std::wstring BackupImportCommand(const Files& files) {
  return L"regedit.exe  /s \"" + CompanionPath(files, companion::kBackup) + L"\"";
}
}  // namespace

void FrmCheck::btnCancel_Click() {
  const Platform& platform = context_.platform;
  if (CompanionFileExists(platform.files, companion::kBackup)) {
    if (platform.desktop.ShowMessage(L"确定要撤消修改的IE属性吗？", kUndoTitle, box::kIconInformation | box::kYesNo) ==
        box::kAnswerNo)
      return;
    StartAndWait(platform.processes, BackupImportCommand(platform.files));
  }
  List.Clear();
  Form_Load();
  platform.desktop.ShowMessage(L"撤消成功！", kUndoTitle, box::kIconInformation | box::kOk);
}

}  // namespace kelpo
