#include "app/main_form.h"

#include "reports/addon_inspection.h"

namespace kelpo {

Main::Main(const WindowContext& context) : Window(L"Main", L"添加可信站点", 7155, 4425), context_(context) {
  btnAdd.on_click = [this] { btnAdd_Click(); };
  btnDel.on_click = [this] { btnDel_Click(); };
  lstWebSite.on_click = [this] { lstWebSite_Click(); };
  btnOk.on_click = [this] { btnOk_Click(); };
  btnClose.on_click = [this] { btnClose_Click(); };
}

void Main::FindStatsKeys(HKey root, const std::wstring& key_path) {
  DisableToolbarAddons(context_.platform, root, key_path);
}

void Main::btnClose_Click() { context_.navigator.EndProgram(); }

}  // namespace kelpo
