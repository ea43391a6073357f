#pragma once
// The completion window "设定完成": the report after the configuration was applied.
#include "reports/report.h"
#include "windows/window.h"

namespace kelpo {

class CompletionWindow final : public Window {
 public:
  explicit CompletionWindow(const WindowContext& context);

  Button close_button{*this, {.name = L"btnClose", .rect = {6600, 4680, 1095, 375}, .caption = L"关 闭", .tab_index = 0}};
  ListBox report_list{*this, {.name = L"List", .rect = {240, 1200, 7455, 3300}, .tab_index = 1}};
  Label flash_version_label{*this, {.name = L"lblTemp", .rect = {360, 3840, 1695, 255}, .tab_index = 2,
                                    .visible = false}};
  Label ie_version_caption{*this, {.name = L"Label1", .rect = {240, 240, 1095, 255}, .caption = L"当前IE版本：",
                                   .tab_index = 3}};
  Label ie_version_label{*this, {.name = L"lblIEVersion", .rect = {1440, 240, 1335, 255}, .tab_index = 4}};
  Label totals_label{*this, {.name = L"lblMsg", .rect = {360, 720, 7335, 375}, .tab_index = 5}};

  // The versions, the browser configuration read again with the add-on lines, then the totals.
  void OnLoad() override;
  // Ends the program.
  void OnCloseClicked();

  // The report as last built: its lines and how many of each status.
  const Report& report() const { return report_; }

 private:
  WindowContext context_;
  Report report_;
};

}  // namespace kelpo
