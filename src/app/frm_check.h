#pragma once
// The system check window "当前系统检测": the report of the browser's configuration.
#include <string>

#include "app/window.h"

namespace kelpo {

class FrmCheck final : public Window {
 public:
  explicit FrmCheck(const WindowContext& context);

  Label lblIEVersion{*this, {.name = L"lblIEVersion", .rect = {1680, 240, 1335, 255}, .tab_index = 0}};
  Label Label1{*this, {.name = L"Label1", .rect = {480, 240, 1095, 255}, .caption = L"当前IE版本：", .tab_index = 1}};
  Label lblTemp{*this, {.name = L"lblTemp", .rect = {600, 3360, 1695, 255}, .tab_index = 2, .visible = false}};
  Button btnClose{*this, {.name = L"btnClose", .rect = {6840, 4200, 1095, 375}, .caption = L"关 闭", .tab_index = 3}};
  Button btnOk{*this, {.name = L"btnOk", .rect = {5400, 4200, 1215, 375}, .caption = L"下一步", .tab_index = 4}};
  ListBox List{*this, {.name = L"List", .rect = {480, 720, 7455, 3300}, .tab_index = 5}};
  Button btnCancel{*this, {.name = L"btnCancel", .rect = {480, 4200, 1215, 375}, .caption = L"撤消设定", .tab_index = 6,
                           .visible = false}};

  // Builds the check report: the checks, then the add-on lines.
  void Form_Load() override;
  // Appends a warning line per other toolbar installed below the key.
  void FindStatsKeys(HKey root, const std::wstring& key_path);

  // Opens a new trusted-site window and unloads this one.
  void btnOk_Click();
  // Ends the program.
  void btnClose_Click();
  // The undo command (its button stays hidden).
  void btnCancel_Click();

 private:
  WindowContext context_;
};

}  // namespace kelpo
