#pragma once
// The trusted-site window "添加可信站点": the site list the user edits before applying.
// Label5 lies under the list box and Label6 under Frame2.
#include <string>

#include "app/window.h"
#include "engine/apply_sequence.h"

namespace kelpo {

class Main final : public Window, public TrustedSiteWindow {
 public:
  explicit Main(const WindowContext& context);

  Label Label8{*this, {.name = L"Label8", .rect = {360, 240, 6135, 255},
                       .caption = L"请将Zandrel软件开发的网站地址输入到下面的列表中", .tab_index = 25}};
  Frame Frame2{*this, {.name = L"Frame2", .rect = {240, 600, 6495, 3015}, .caption = L"可信站点", .tab_index = 3}};
  Label Label4{*this, {.name = L"Label4", .rect = {240, 360, 2295, 255}, .caption = L"将该网站添加到可信区域",
                       .tab_index = 5, .container = &Frame2}};
  TextBox txtWebSite{*this, {.name = L"txtWebSite", .rect = {240, 600, 4815, 330}, .tab_index = 6,
                             .container = &Frame2, .font = Font{L"宋体", 10.5, false}}};
  Button btnAdd{*this, {.name = L"btnAdd", .rect = {5160, 600, 855, 375}, .caption = L"添 加", .tab_index = 7,
                        .container = &Frame2}};
  ListBox lstWebSite{*this, {.name = L"lstWebSite", .rect = {240, 1320, 4815, 1320}, .tab_index = 18,
                             .container = &Frame2}};
  Label Label5{*this, {.name = L"Label5", .rect = {240, 1440, 855, 255}, .caption = L"网站", .tab_index = 8,
                       .container = &Frame2}};
  Button btnDel{*this, {.name = L"btnDel", .rect = {5400, 1920, 855, 375}, .caption = L"删 除", .tab_index = 20,
                        .enabled = false}};
  Label Label6{*this, {.name = L"Label6", .rect = {2160, 2640, 1575, 255}, .caption = L"安全级别：自定义", .tab_index = 23}};
  Button btnOk{*this, {.name = L"btnOk", .rect = {4200, 3840, 1215, 375}, .caption = L"下一步", .tab_index = 16}};
  Button btnClose{*this, {.name = L"btnClose", .rect = {5640, 3840, 1095, 375}, .caption = L"关 闭", .tab_index = 17}};
  // Hidden holders of the versions the apply sequence reads.
  Label lblIEVersion{*this, {.name = L"lblIEVersion", .rect = {2760, 4680, 1335, 255}, .visible = false}};
  Label lblTemp{*this, {.name = L"lblTemp", .rect = {360, 7920, 1695, 255}, .visible = false}};

  // The browser version, the sites of the zone map (Domains first, then ranges), the Flash
  // Player version.
  void Form_Load() override;
  // Appends an item for every zone-map key without subkeys below the key.
  void FindDomainsKeys(HKey root, const std::wstring& key_path);
  // Appends an item for every range key below the key.
  void FindRangesKeys(HKey root, const std::wstring& key_path);
  // Disables every add-on below the key whose class key names a toolbar.
  void FindStatsKeys(HKey root, const std::wstring& key_path) override;

  // Adds the typed address, normalised, unless the list holds it already.
  void btnAdd_Click();
  // Removes the selected site; asks for a selection when there is none.
  void btnDel_Click();
  // A click on a list with sites enables btnDel.
  void lstWebSite_Click();
  // Applies the configuration for the listed sites, then hands over to the completion window.
  void btnOk_Click();
  // Ends the program.
  void btnClose_Click();

 private:
  // What the apply reads from and asks of this window.
  std::wstring IeVersionText() const override { return lblIEVersion.caption(); }
  std::wstring FlashVersionText() const override { return lblTemp.caption(); }
  std::vector<std::wstring> SiteItems() const override { return lstWebSite.items(); }
  void SetOkEnabled(bool enabled) override { btnOk.SetEnabled(enabled); }
  void ShowCompletionReport() override;
  void UnloadWindow() override { context_.navigator.Unload(*this); }

  WindowContext context_;
};

}  // namespace kelpo
