#include "windows/completion_window.h"

#include "apply/apply_journal.h"
#include "registry/registry_reader.h"
#include "reports/browser_versions.h"
#include "reports/check_report.h"

namespace kelpo {

CompletionWindow::CompletionWindow(const WindowContext& context)
    : Window(L"frmInfo", L"设定完成", 7950, 5370), context_(context) {
  close_button.on_click = [this] { OnCloseClicked(); };
}

void CompletionWindow::OnLoad() {
  RegistryReader reader(context_.platform);
  const BrowserVersions versions = ReadVersions(reader);
  ie_version_label.SetCaption(versions.internet_explorer);
  flash_version_label.SetCaption(versions.flash_player);
  report_ = ReportCompletion(context_.platform, versions);
  for (const std::wstring& line : report_.lines) report_list.AddItem(line);
  totals_label.SetCaption(CompletionTotals(report_));
}

void CompletionWindow::OnCloseClicked() { context_.navigator.EndProgram(); }

}  // namespace kelpo
