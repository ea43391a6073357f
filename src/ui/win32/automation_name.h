#pragma once
// Every realised window and control carries the name the program gives it ("FrmCheck",
// "lstWebSite") as a window property holding a global atom, so that accessibility and test
// tools outside the process can find a control by name rather than by position.
namespace kelpo {

inline constexpr wchar_t kAutomationNameProperty[] = L"Kelpo.AutomationName";

}  // namespace kelpo
