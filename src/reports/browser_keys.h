#pragma once
// The keys and values the reports and windows read; the keys the engine also writes are in
// engine/engine_keys.h.
#include "engine/engine_keys.h"

namespace kelpo::keys {

inline constexpr const wchar_t* kInternetExplorer = L"SOFTWARE\\Microsoft\\Internet Explorer";
inline constexpr const wchar_t* kIeVersionValue = L"Version";
inline constexpr const wchar_t* kFlashPlayer = L"SOFTWARE\\Macromedia\\FlashPlayer";
inline constexpr const wchar_t* kFlashVersionValue = L"CurrentVersion";
inline constexpr const wchar_t* kPopupMgr = L"PopupMgr";
inline constexpr const wchar_t* kZoneFlags = L"Flags";
inline constexpr const wchar_t* kCurrentLevel = L"CurrentLevel";
inline constexpr const wchar_t* kPopupsUseNewWindow = L"PopupsUseNewWindow";

}  // namespace kelpo::keys
