#pragma once
// The framework's own user-facing texts: the message box titles and buttons, the text of a
// failure that carries none, and that of a box that cannot be shown.
namespace WindowTexts {
inline constexpr const char* WarningTitle = "Warning";
inline constexpr const char* ConfirmTitle = "Confirm";
inline constexpr const char* InformationTitle = "Information";
inline constexpr const char* OkButton = "OK";
inline constexpr const char* YesButton = "&Yes";
inline constexpr const char* NoButton = "&No";
inline constexpr const char* UnknownError = "Unknown error";
// A message box that could not be opened; %s is the system's text for the reason.
inline constexpr const char* MessageBoxFailed = "Cannot show the message box. %s";
}  // namespace WindowTexts
