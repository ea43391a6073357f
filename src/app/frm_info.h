#pragma once
// The completion window "设定完成": the report after the configuration was applied.
#include <string>

#include "app/window.h"

namespace kelpo {

class frmInfo final : public Window {
 public:
  explicit frmInfo(const WindowContext& context);

  Button btnClose{*this, {.name = L"btnClose", .rect = {6600, 4680, 1095, 375}, .caption = L"关 闭", .tab_index = 0}};
  ListBox List{*this, {.name = L"List", .rect = {240, 1200, 7455, 3300}, .tab_index = 1}};
  Label lblTemp{*this, {.name = L"lblTemp", .rect = {360, 3840, 1695, 255}, .tab_index = 2, .visible = false}};
  Label Label1{*this, {.name = L"Label1", .rect = {240, 240, 1095, 255}, .caption = L"当前IE版本：", .tab_index = 3}};
  Label lblIEVersion{*this, {.name = L"lblIEVersion", .rect = {1440, 240, 1335, 255}, .tab_index = 4}};
  Label lblMsg{*this, {.name = L"lblMsg", .rect = {360, 720, 7335, 375}, .tab_index = 5}};

  // Lines of each kind written so far, add-on lines included.
  int SuccessCount = 0;
  int FailureCount = 0;
  int WarningCount = 0;

  // The browser configuration read again, the add-on lines, then the totals into lblMsg.
  void Form_Load() override;
  // Appends, per other toolbar below the key, whether it is disabled, and counts it.
  void FindStatsKeys(HKey root, const std::wstring& key_path);
  // Ends the program.
  void btnClose_Click();

 private:
  WindowContext context_;
};

}  // namespace kelpo
