#pragma once
// The start-up window "自动设定": never displayed. Its Form_Load is the whole start-up; it
// holds the start-up values while the start-up runs.
#include <cstdint>
#include <string>

#include "app/window.h"
#include "engine/automatic_apply.h"

namespace kelpo {

class frmAutoSet final : public Window, public AutoSetWindow {
 public:
  explicit frmAutoSet(const WindowContext& context);

  Label Label2{*this, {.name = L"Label2", .rect = {1080, 480, 3135, 375}, .caption = L"Zandrel软件IE设置中，请稍等！"}};
  Label lblTemp{*this, {.name = L"lblTemp", .rect = {2160, 120, 2775, 135}, .visible = false}};  // Flash Player version
  Label lblIEVersion{*this, {.name = L"lblIEVersion", .rect = {0, 0, 1335, 255}}};

  // The normalised address of the set-up file; empty when it names none.
  std::wstring SetupUrl;
  // Switched on by "Run=AUTO" before the first "URL=" line; nothing switches it off.
  bool AutoMode = false;
  // Range keys looked at by the zone-map lookups of automatic mode. Wider than the 16 bits the
  // counters once had, so a large zone map cannot overflow them.
  std::int32_t RangeCount = 0;
  std::int32_t EscRangeCount = 0;

  // The companion files, the versions, the set-up file, then automatic mode (apply and the
  // completion window) or the check window; the window unloads itself in every case.
  void Form_Load() override;
  // Reads "Kelpo.ini" of the program folder into SetupUrl and AutoMode.
  void ReadSetupFile();
  // The unattended application for SetupUrl.
  void ApplySettings();
  // True when a range key below the key holds SetupUrl; every key visited before it counts
  // in RangeCount (EscRangeCount for the escape ranges).
  bool FindRangesKeys(HKey root, const std::wstring& key_path) override;
  bool FindEscRangesKeys(HKey root, const std::wstring& key_path) override;
  // Disables every add-on below the key whose class key names a toolbar.
  void FindStatsKeys(HKey root, const std::wstring& key_path) override;

 private:
  std::wstring IeVersionText() const override { return lblIEVersion.caption(); }
  std::wstring FlashVersionText() const override { return lblTemp.caption(); }

  WindowContext context_;
};

}  // namespace kelpo
