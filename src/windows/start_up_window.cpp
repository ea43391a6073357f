#include "windows/start_up_window.h"

#include "windows/completion_window.h"
#include "windows/start_up.h"
#include "windows/system_check_window.h"

namespace kelpo {

StartUpWindow::StartUpWindow(const WindowContext& context)
    : Window(L"frmAutoSet", L"自动设定", 4785, 1380), context_(context) {}

void StartUpWindow::OnLoad() {
  const std::optional<StartUpFindings> start_up = ReadStartUp(context_.platform);
  if (!start_up) {
    context_.navigator.Unload(*this);
    return;
  }
  flash_version_label.SetCaption(start_up->versions.flash_player);
  ie_version_label.SetCaption(start_up->versions.internet_explorer);
  setup_address_ = start_up->setup_address;
  automatic_mode_ = start_up->automatic_mode;
  if (automatic_mode_) {
    ApplySetupSite(context_.platform, *start_up);
    status_label.SetCaption(L"设定完成。");
    context_.navigator.Show(std::make_unique<CompletionWindow>(context_));
  } else {
    context_.navigator.Show(std::make_unique<SystemCheckWindow>(context_));
  }
  context_.navigator.Unload(*this);
}

}  // namespace kelpo
