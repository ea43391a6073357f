#include "app/main_form.h"

#include <algorithm>
#include <vector>

#include "app/frm_info.h"
#include "engine/engine_keys.h"
#include "registry/module1.h"
#include "reports/addon_inspection.h"
#include "reports/check_rules.h"
#include "sites/address.h"
#include "sites/zone_map.h"

namespace kelpo {

Main::Main(const WindowContext& context) : Window(L"Main", L"添加可信站点", 7155, 4425), context_(context) {
  btnAdd.on_click = [this] { btnAdd_Click(); };
  btnDel.on_click = [this] { btnDel_Click(); };
  lstWebSite.on_click = [this] { lstWebSite_Click(); };
  btnOk.on_click = [this] { btnOk_Click(); };
  btnClose.on_click = [this] { btnClose_Click(); };
}

namespace {
void AddItems(ListBox& list, const std::vector<std::wstring>& items) {
  for (const std::wstring& item : items) list.AddItem(item);
}
}  // namespace

void Main::Form_Load() {
  Module1 module1(context_.platform);
  lblIEVersion.SetCaption(ReadIeVersion(module1));
  FindDomainsKeys(reg::kCurrentUser, keys::kDomainsRoot);
  FindRangesKeys(reg::kCurrentUser, keys::kRangesRoot);
  lblTemp.SetCaption(ReadFlashVersionRaw(module1));
}

void Main::FindDomainsKeys(HKey root, const std::wstring& key_path) {
  Module1 module1(context_.platform);
  std::vector<std::wstring> items;
  ZoneMapReader(context_.platform.registry, context_.platform.codec, module1).FindDomainsKeys(root, key_path, items);
  AddItems(lstWebSite, items);
}

void Main::FindRangesKeys(HKey root, const std::wstring& key_path) {
  Module1 module1(context_.platform);
  std::vector<std::wstring> items;
  ZoneMapReader(context_.platform.registry, context_.platform.codec, module1).FindRangesKeys(root, key_path, items);
  AddItems(lstWebSite, items);
}

void Main::btnAdd_Click() {
  const std::wstring site = NormaliseSiteAddress(txtWebSite.text());
  if (site.empty()) return;
  const std::vector<std::wstring>& items = lstWebSite.items();
  if (std::find(items.begin(), items.end(), site) != items.end()) {
    context_.platform.desktop.ShowMessage(L"该站点已在 可信站点 区域中。", kSiteListTitle, box::kIconInformation | box::kOk);
    return;
  }
  lstWebSite.AddItem(site);
  txtWebSite.SetText(L"");
}

void Main::btnDel_Click() {
  if (lstWebSite.ListCount() == 0) return;
  if (lstWebSite.ListIndex() == ListBox::kNoSelection) {
    context_.platform.desktop.ShowMessage(L"请先选择需要删除的网站！", kSiteListTitle, box::kIconInformation | box::kOk);
    return;
  }
  lstWebSite.RemoveItem(lstWebSite.ListIndex());
}

void Main::lstWebSite_Click() {
  if (lstWebSite.ListCount() > 0) btnDel.SetEnabled(true);
}

void Main::btnOk_Click() {
  // A Close pressed while the apply waits for another program ends the program only once the
  // browser is wholly configured, and then without the completion window.
  context_.navigator.RunToEnd(*this, [this] { ApplyFromSiteList(context_.platform, *this); });
}

void Main::ShowCompletionReport() { context_.navigator.Show(std::make_unique<frmInfo>(context_)); }

void Main::FindStatsKeys(HKey root, const std::wstring& key_path) {
  DisableToolbarAddons(context_.platform, root, key_path);
}

void Main::btnClose_Click() { context_.navigator.EndProgram(); }

}  // namespace kelpo
