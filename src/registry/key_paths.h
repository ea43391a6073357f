#pragma once
// Every registry key and value name the program reads or writes, once each. Keys are paths
// below the root named beside them; a subkey is joined on with Below().
#include <string>
#include <string_view>

namespace kelpo::keys {

// --- Below HKEY_CURRENT_USER: the zone map. ---
inline constexpr std::wstring_view kDomains =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
inline constexpr std::wstring_view kEscDomains =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscDomains";
inline constexpr std::wstring_view kRanges =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
inline constexpr std::wstring_view kEscRanges =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";
// The address value of a range key.
inline constexpr std::wstring_view kRangeValue = L":Range";

// --- Below HKEY_CURRENT_USER: the browser's settings. ---
inline constexpr std::wstring_view kTrustedZone =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
inline constexpr std::wstring_view kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline constexpr std::wstring_view kTabbedBrowsing = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
inline constexpr std::wstring_view kPopupMgr = L"PopupMgr";
inline constexpr std::wstring_view kZoneFlags = L"Flags";
inline constexpr std::wstring_view kCurrentLevel = L"CurrentLevel";
inline constexpr std::wstring_view kPopupsUseNewWindow = L"PopupsUseNewWindow";

// --- Below HKEY_CURRENT_USER: add-ons and toolbar white-lists. ---
inline constexpr std::wstring_view kAddOnStats = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";
inline constexpr std::wstring_view kAddOnSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
inline constexpr std::wstring_view kBaiduWhiteList = L"Software\\Baidu\\BaiduBar\\WhiteList";
inline constexpr std::wstring_view kGoogleOptions = L"Software\\Google\\Google Toolbar\\4.0\\Options";
inline constexpr std::wstring_view kGoogleWhitelistValue = L"PopupBlockerWhitelist";

// --- Below HKEY_LOCAL_MACHINE: the versions. ---
inline constexpr std::wstring_view kInternetExplorer = L"SOFTWARE\\Microsoft\\Internet Explorer";
inline constexpr std::wstring_view kIeVersionValue = L"Version";
inline constexpr std::wstring_view kFlashPlayer = L"SOFTWARE\\Macromedia\\FlashPlayer";
inline constexpr std::wstring_view kFlashVersionValue = L"CurrentVersion";

// --- Below HKEY_CLASSES_ROOT: add-on class registrations. ---
inline constexpr std::wstring_view kClassIds = L"CLSID";

// The key `subkey` below `key`: the two joined by one backslash. An empty subkey leaves a
// trailing backslash, which names `key` itself.
inline std::wstring Below(std::wstring_view key, std::wstring_view subkey) {
  std::wstring path;
  path.reserve(key.size() + 1 + subkey.size());
  return path.append(key).append(L"\\").append(subkey);
}

}  // namespace kelpo::keys
