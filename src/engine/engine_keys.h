#pragma once
// The keys the configuration engine writes and deletes, all below HKEY_CURRENT_USER.

namespace kelpo::keys {

inline constexpr const wchar_t* kCurrentUser = L"HKEY_CURRENT_USER";

// Zone-map roots, and the same with the closing backslash that entry keys are appended to.
inline constexpr const wchar_t* kDomainsRoot =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
inline constexpr const wchar_t* kRangesRoot =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges";
inline constexpr const wchar_t* kEscRangesRoot =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges";
inline constexpr const wchar_t* kDomainsPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\";
inline constexpr const wchar_t* kEscDomainsPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscDomains\\";
inline constexpr const wchar_t* kRangesPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Ranges\\";
inline constexpr const wchar_t* kEscRangesPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscRanges\\";

inline constexpr const wchar_t* kBaiduWhiteList = L"Software\\Baidu\\BaiduBar\\WhiteList";
inline constexpr const wchar_t* kGoogleOptions = L"Software\\Google\\Google Toolbar\\4.0\\Options";
inline constexpr const wchar_t* kGoogleWhitelistValue = L"PopupBlockerWhitelist";

inline constexpr const wchar_t* kAddOnSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
inline constexpr const wchar_t* kAddOnStats = L"Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";

inline constexpr const wchar_t* kNewWindows = L"SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline constexpr const wchar_t* kTabbedBrowsing = L"Software\\Microsoft\\Internet Explorer\\TabbedBrowsing";
inline constexpr const wchar_t* kTrustedZone =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";

}  // namespace kelpo::keys
