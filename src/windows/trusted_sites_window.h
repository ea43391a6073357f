#pragma once
// The trusted-sites window "添加可信站点": the site list the user edits before applying.
// The label "网站" lies under the list box and the security-level label under the frame.
#include <string>

#include "apply/interactive_apply.h"
#include "text/versions.h"
#include "windows/window.h"

namespace kelpo {

class TrustedSitesWindow final : public Window, private ApplyWindow {
 public:
  explicit TrustedSitesWindow(const WindowContext& context);

  Label intro_label{*this, {.name = L"Label8", .rect = {360, 240, 6135, 255},
                            .caption = L"请将Zandrel软件开发的网站地址输入到下面的列表中", .tab_index = 25}};
  Frame sites_frame{*this, {.name = L"Frame2", .rect = {240, 600, 6495, 3015}, .caption = L"可信站点", .tab_index = 3}};
  Label address_prompt{*this, {.name = L"Label4", .rect = {240, 360, 2295, 255}, .caption = L"将该网站添加到可信区域",
                               .tab_index = 5, .container = &sites_frame}};
  TextBox address_box{*this, {.name = L"txtWebSite", .rect = {240, 600, 4815, 330}, .tab_index = 6,
                              .container = &sites_frame, .font = Font{L"宋体", 10.5, false}}};
  Button add_button{*this, {.name = L"btnAdd", .rect = {5160, 600, 855, 375}, .caption = L"添 加", .tab_index = 7,
                            .container = &sites_frame}};
  ListBox site_list{*this, {.name = L"lstWebSite", .rect = {240, 1320, 4815, 1320}, .tab_index = 18,
                            .container = &sites_frame}};
  Label site_list_caption{*this, {.name = L"Label5", .rect = {240, 1440, 855, 255}, .caption = L"网站", .tab_index = 8,
                                  .container = &sites_frame}};
  Button delete_button{*this, {.name = L"btnDel", .rect = {5400, 1920, 855, 375}, .caption = L"删 除", .tab_index = 20,
                               .enabled = false}};
  Label security_level_label{*this, {.name = L"Label6", .rect = {2160, 2640, 1575, 255}, .caption = L"安全级别：自定义",
                                     .tab_index = 23}};
  Button next_button{*this, {.name = L"btnOk", .rect = {4200, 3840, 1215, 375}, .caption = L"下一步", .tab_index = 16}};
  Button close_button{*this, {.name = L"btnClose", .rect = {5640, 3840, 1095, 375}, .caption = L"关 闭", .tab_index = 17}};
  // Hidden: the versions read at load, shown nowhere.
  Label ie_version_label{*this, {.name = L"lblIEVersion", .rect = {2760, 4680, 1335, 255}, .visible = false}};
  Label flash_version_label{*this, {.name = L"lblTemp", .rect = {360, 7920, 1695, 255}, .visible = false}};

  // The versions, and the sites of the zone map: Domains first, then ranges.
  void OnLoad() override;

  // Adds the typed address, normalised, unless the list holds it already.
  void OnAddClicked();
  // Removes the selected site; asks for a selection when there is none.
  void OnDeleteClicked();
  // A click on a list with sites enables the delete button.
  void OnSiteListClicked();
  // Applies the configuration for the listed sites, then hands over to the completion window.
  // A Close pressed meanwhile ends the program once the apply is done.
  void OnNextClicked();
  // Ends the program.
  void OnCloseClicked();

 private:
  // What the apply does to this window.
  void SetNextLocked(bool locked) override { next_button.SetEnabled(!locked); }
  void OpenCompletionWindow() override;
  void Unload() override { context_.navigator.Unload(*this); }

  WindowContext context_;
  BrowserVersions versions_;
};

}  // namespace kelpo
