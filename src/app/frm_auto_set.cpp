#include "app/frm_auto_set.h"

#include "app/companion_files.h"
#include "app/frm_check.h"
#include "app/frm_info.h"
#include "app/setup_file.h"
#include "registry/module1.h"
#include "reports/addon_inspection.h"
#include "reports/check_rules.h"
#include "engine/engine_keys.h"
#include "sites/address.h"
#include "sites/zone_map.h"

namespace kelpo {

frmAutoSet::frmAutoSet(const WindowContext& context)
    : Window(L"frmAutoSet", L"自动设定", 4785, 1380), context_(context) {}

void frmAutoSet::Form_Load() {
  const Platform& platform = context_.platform;
  for (const wchar_t* name : {kRegistryScriptName, kFlashInstallerName, companion::kSetupFile}) {
    if (!RequireCompanionFile(platform, name)) {
      context_.navigator.Unload(*this);
      return;
    }
  }
  Module1 module1(platform);
  lblTemp.SetCaption(ReadFlashVersionRaw(module1));
  lblIEVersion.SetCaption(ReadIeVersion(module1));
  ReadSetupFile();
  if (AutoMode) {
    ApplySettings();
    Label2.SetCaption(L"设定完成。");
    context_.navigator.Show(std::make_unique<frmInfo>(context_));
  } else {
    context_.navigator.Show(std::make_unique<FrmCheck>(context_));
  }
  context_.navigator.Unload(*this);
}

void frmAutoSet::ReadSetupFile() {
  const SetupFileContents contents =
      ReadSetupFileContents(context_.platform.files, CompanionPath(context_.platform.files, companion::kSetupFile));
  if (contents.auto_mode) AutoMode = true;
  SetupUrl = NormaliseSiteAddress(contents.raw_url);
}

void frmAutoSet::ApplySettings() {
  ApplyAutomatically(context_.platform, *this, SetupUrl, RangeCount, EscRangeCount);
}

bool frmAutoSet::FindRangesKeys(HKey root, const std::wstring& key_path) {
  Module1 module1(context_.platform);
  return ZoneMapReader(context_.platform.registry, context_.platform.codec, module1)
      .FindRangeItem(root, key_path, keys::kRangesPath, SetupUrl, RangeCount);
}

bool frmAutoSet::FindEscRangesKeys(HKey root, const std::wstring& key_path) {
  Module1 module1(context_.platform);
  return ZoneMapReader(context_.platform.registry, context_.platform.codec, module1)
      .FindRangeItem(root, key_path, keys::kEscRangesPath, SetupUrl, EscRangeCount);
}

void frmAutoSet::FindStatsKeys(HKey root, const std::wstring& key_path) {
  DisableToolbarAddons(context_.platform, root, key_path);
}

}  // namespace kelpo
