#pragma once
// The framework's own user-facing texts: the message box titles and buttons, and the text of a
// failure that carries none.
namespace WindowTexts {
inline constexpr const char* WarningTitle = "Warning";
inline constexpr const char* ConfirmTitle = "Confirm";
inline constexpr const char* InformationTitle = "Information";
inline constexpr const char* OkButton = "OK";
inline constexpr const char* YesButton = "&Yes";
inline constexpr const char* NoButton = "&No";
inline constexpr const char* UnknownError = "Unknown error";
}  // namespace WindowTexts
