#pragma once
// The system check window "当前系统检测": the report of the browser's configuration.
#include "windows/window.h"

namespace kelpo {

class SystemCheckWindow final : public Window {
 public:
  explicit SystemCheckWindow(const WindowContext& context);

  Label ie_version_label{*this, {.name = L"lblIEVersion", .rect = {1680, 240, 1335, 255}, .tab_index = 0}};
  Label ie_version_caption{*this, {.name = L"Label1", .rect = {480, 240, 1095, 255}, .caption = L"当前IE版本：",
                                   .tab_index = 1}};
  Label flash_version_label{*this, {.name = L"lblTemp", .rect = {600, 3360, 1695, 255}, .tab_index = 2,
                                    .visible = false}};
  Button close_button{*this, {.name = L"btnClose", .rect = {6840, 4200, 1095, 375}, .caption = L"关 闭", .tab_index = 3}};
  Button next_button{*this, {.name = L"btnOk", .rect = {5400, 4200, 1215, 375}, .caption = L"下一步", .tab_index = 4}};
  ListBox report_list{*this, {.name = L"List", .rect = {480, 720, 7455, 3300}, .tab_index = 5}};
  Button undo_button{*this, {.name = L"btnCancel", .rect = {480, 4200, 1215, 375}, .caption = L"撤消设定",
                             .tab_index = 6, .visible = false}};

  // The versions, then the check report.
  void OnLoad() override;

  // Opens a new trusted-sites window and unloads this one.
  void OnNextClicked();
  // Ends the program.
  void OnCloseClicked();
  // The undo command (its button stays hidden): imports "backup.reg" after asking, waits for
  // it, and builds the report again.
  void OnUndoClicked();

 private:
  WindowContext context_;
};

}  // namespace kelpo
