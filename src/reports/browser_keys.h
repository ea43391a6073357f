#pragma once
// The registry keys and values through which the program reads and sets the browser.
namespace kelpo::keys {

inline constexpr const wchar_t* kInternetExplorer = L"SOFTWARE\\Microsoft\\Internet Explorer";
inline constexpr const wchar_t* kIeVersionValue = L"Version";
inline constexpr const wchar_t* kFlashPlayer = L"SOFTWARE\\Macromedia\\FlashPlayer";
inline constexpr const wchar_t* kFlashVersionValue = L"CurrentVersion";
inline constexpr const wchar_t* kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline constexpr const wchar_t* kPopupMgr = L"PopupMgr";
inline constexpr const wchar_t* kTrustedZone = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
inline constexpr const wchar_t* kZoneFlags = L"Flags";
inline constexpr const wchar_t* kCurrentLevel = L"CurrentLevel";
inline constexpr const wchar_t* kTabbedBrowsing = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
inline constexpr const wchar_t* kPopupsUseNewWindow = L"PopupsUseNewWindow";
// One subkey per browser add-on, named by its class identifier.
inline constexpr const wchar_t* kAddonStats = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";
// Per-add-on settings; a subkey here disables the add-on.
inline constexpr const wchar_t* kAddonSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";

}  // namespace kelpo::keys
