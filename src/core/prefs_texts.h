#pragma once
// The messages of the preferences store; "%s" takes the value's name.
namespace PrefsTexts {
inline constexpr const char* FailedToGetData = "Failed to get data for '%s'";
inline constexpr const char* InvalidDataType = "Invalid data type for '%s'";
inline constexpr const char* FailedToSetData = "Failed to set data for '%s'";
}  // namespace PrefsTexts
