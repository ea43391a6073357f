#pragma once
// The start-up window "自动设定": never displayed. Its load is the whole start-up (start_up.h:
// the companion files, the versions, the set-up file), then automatic mode (the apply and the
// completion window) or the check window; it unloads itself in every case.
#include <string>

#include "windows/window.h"

namespace kelpo {

class StartUpWindow final : public Window {
 public:
  explicit StartUpWindow(const WindowContext& context);

  Label status_label{*this, {.name = L"Label2", .rect = {1080, 480, 3135, 375}, .caption = L"Zandrel软件IE设置中，请稍等！"}};
  Label flash_version_label{*this, {.name = L"lblTemp", .rect = {2160, 120, 2775, 135}, .visible = false}};
  Label ie_version_label{*this, {.name = L"lblIEVersion", .rect = {0, 0, 1335, 255}}};

  void OnLoad() override;

  // What the set-up file said: its address, normalised (empty when it names none), and whether
  // automatic mode is on ("Run=AUTO" before the first "URL=" line).
  const std::wstring& setup_address() const { return setup_address_; }
  bool automatic_mode() const { return automatic_mode_; }

 private:
  WindowContext context_;
  std::wstring setup_address_;
  bool automatic_mode_ = false;
};

}  // namespace kelpo
