#pragma once
// Applying the browser configuration: the interactive apply of the trusted-site window, and
// the steps it shares with the unattended apply of automatic mode. Every step is guarded: a
// step that fails or throws never keeps the next from running.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/registry.h"

namespace kelpo {

// What either apply reads from, or asks of, the window it runs for.
class ApplyWindow {
 public:
  ApplyWindow() = default;
  ApplyWindow(const ApplyWindow&) = delete;
  ApplyWindow& operator=(const ApplyWindow&) = delete;
  virtual ~ApplyWindow() = default;

  // lblIEVersion: the Internet Explorer version text.
  virtual std::wstring IeVersionText() const = 0;
  // lblTemp: the Flash Player version text with dots as separators; empty when none is known.
  virtual std::wstring FlashVersionText() const = 0;
  // Disables every add-on below the key whose class registration names a toolbar.
  virtual void FindStatsKeys(HKey root, const std::wstring& key_path) = 0;
};

// The trusted-site window, as its Next button's apply sees it.
class TrustedSiteWindow : public ApplyWindow {
 public:
  // lstWebSite: the site items, in list order.
  virtual std::vector<std::wstring> SiteItems() const = 0;
  // btnOk.Enabled.
  virtual void SetOkEnabled(bool enabled) = 0;
  // Opens the completion window as an ordinary, non-modal window; it builds its report as it
  // loads.
  virtual void ShowCompletionReport() = 0;
  // Unloads the trusted-site window itself.
  virtual void UnloadWindow() = 0;
};

inline constexpr const wchar_t* kApplyQuestion = L"确定要修改IE的属性吗？";
inline constexpr const wchar_t* kApplyQuestionTitle = L"Internet 选项";
inline constexpr const wchar_t* kEmptySiteListMessage = L"请先网站添加到可信站点。";
inline constexpr const wchar_t* kSiteListTitle = L"可信站点";

// The Next button of the trusted-site window. Stops, having changed nothing, when a companion
// file is missing (its message), when the user answers No, or when the list is empty (its
// message, after the question). Otherwise locks the button, applies everything for the list as
// it was read then, unlocks the button, opens the completion window and unloads the
// trusted-site window; these last three happen whatever failed before them.
void ApplyFromSiteList(const Platform& platform, TrustedSiteWindow& window);

// --- Steps both applies share, each guarded within. ---

// The window's Internet Explorer version text, read once for every step that depends on it;
// empty when it cannot be read.
std::wstring IeVersionOf(const ApplyWindow& window);
// Ends the browser; clears the URL cache on Internet Explorer 6; pop-up blocker and tab
// pop-up behaviour.
void CloseBrowserAndSetPopUps(const Platform& platform, const std::wstring& ie_version);
// Imports the registry script and waits for the import to end; then the zone flags and the
// Internet Explorer 8 zone actions, so that the program's settings win where both write.
void ImportScriptAndSetTrustedZone(const Platform& platform, const std::wstring& ie_version);
// FindStatsKeys on the current user's add-on statistics key.
void DisableOtherAddOns(ApplyWindow& window);
// Runs the Flash Player installer, and waits for it, when the version calls for it.
void UpdateFlashPlayerOf(const Platform& platform, const ApplyWindow& window);

}  // namespace kelpo
