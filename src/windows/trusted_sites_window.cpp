#include "windows/trusted_sites_window.h"

#include <algorithm>
#include <vector>

#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "text/site_address.h"
#include "windows/completion_window.h"
#include "zonemap/zone_map_reader.h"

namespace kelpo {

TrustedSitesWindow::TrustedSitesWindow(const WindowContext& context)
    : Window(L"Main", L"添加可信站点", 7155, 4425), context_(context) {
  add_button.on_click = [this] { OnAddClicked(); };
  delete_button.on_click = [this] { OnDeleteClicked(); };
  site_list.on_click = [this] { OnSiteListClicked(); };
  next_button.on_click = [this] { OnNextClicked(); };
  close_button.on_click = [this] { OnCloseClicked(); };
}

void TrustedSitesWindow::OnLoad() {
  RegistryReader reader(context_.platform);
  versions_ = ReadVersionsAsStored(reader);
  ie_version_label.SetCaption(versions_.internet_explorer);
  flash_version_label.SetCaption(versions_.flash_player);
  ZoneMapReader zone_map(context_.platform);
  for (std::wstring& site : zone_map.TrustedDomains()) site_list.AddItem(std::move(site));
  for (std::wstring& site : zone_map.TrustedRanges()) site_list.AddItem(std::move(site));
}

void TrustedSitesWindow::OnAddClicked() {
  const std::wstring site = NormaliseSiteAddress(address_box.text());
  if (site.empty()) return;
  const std::vector<std::wstring>& sites = site_list.items();
  if (std::find(sites.begin(), sites.end(), site) != sites.end()) {
    context_.platform.desktop.ShowMessage(L"该站点已在 可信站点 区域中。", std::wstring(kSiteListTitle),
                                          box::kIconInformation | box::kOk);
    return;
  }
  site_list.AddItem(site);
  address_box.SetText(L"");
}

void TrustedSitesWindow::OnDeleteClicked() {
  if (site_list.ListCount() == 0) return;
  if (site_list.ListIndex() == ListBox::kNoSelection) {
    context_.platform.desktop.ShowMessage(L"请先选择需要删除的网站！", std::wstring(kSiteListTitle),
                                          box::kIconInformation | box::kOk);
    return;
  }
  site_list.RemoveItem(site_list.ListIndex());
}

void TrustedSitesWindow::OnSiteListClicked() {
  if (site_list.ListCount() > 0) delete_button.SetEnabled(true);
}

void TrustedSitesWindow::OnNextClicked() {
  // The list as it stands now is the one applied: what is done to the window while the apply
  // waits for other programs changes nothing.
  const std::vector<std::wstring> sites = site_list.items();
  context_.navigator.RunToEnd(*this, [&] { ApplyFromSiteList(context_.platform, versions_, sites, *this); });
}

void TrustedSitesWindow::OpenCompletionWindow() { context_.navigator.Show(std::make_unique<CompletionWindow>(context_)); }

void TrustedSitesWindow::OnCloseClicked() { context_.navigator.EndProgram(); }

}  // namespace kelpo
