#include "app/frm_info.h"

#include "reports/addon_inspection.h"

namespace kelpo {

frmInfo::frmInfo(const WindowContext& context) : Window(L"frmInfo", L"设定完成", 7950, 5370), context_(context) {
  btnClose.on_click = [this] { btnClose_Click(); };
}

void frmInfo::FindStatsKeys(HKey root, const std::wstring& key_path) {
  ReportDisabledToolbars(context_.platform, root, key_path, List, SuccessCount, FailureCount);
}

void frmInfo::btnClose_Click() { context_.navigator.EndProgram(); }

}  // namespace kelpo
