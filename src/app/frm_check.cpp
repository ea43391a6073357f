#include "app/frm_check.h"

#include "app/main_form.h"
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

void FrmCheck::btnCancel_Click() {
  // The undo command comes with the configuration engine.
}

}  // namespace kelpo
