#include "app/frm_info.h"

#include "engine/engine_keys.h"
#include "reports/addon_inspection.h"
#include "reports/check_report.h"

namespace kelpo {

frmInfo::frmInfo(const WindowContext& context) : Window(L"frmInfo", L"设定完成", 7950, 5370), context_(context) {
  btnClose.on_click = [this] { btnClose_Click(); };
}

void frmInfo::Form_Load() {
  WriteCompletionChecks(context_.platform, lblIEVersion, lblTemp, List, SuccessCount, FailureCount, WarningCount);
  FindStatsKeys(reg::kCurrentUser, keys::kAddOnStats);
  lblMsg.SetCaption(CompletionTotals(SuccessCount, FailureCount, WarningCount));
}

void frmInfo::FindStatsKeys(HKey root, const std::wstring& key_path) {
  ReportDisabledToolbars(context_.platform, root, key_path, List, SuccessCount, FailureCount);
}

void frmInfo::btnClose_Click() { context_.navigator.EndProgram(); }

}  // namespace kelpo
