#pragma once
// Texts of the launcher component.
namespace LauncherTexts {
inline constexpr const char* ThreadCreationError = "Thread creation error: %s";
// The class of the hidden window through which the launch thread's events reach the creating
// thread.
inline constexpr const char* SyncWindowClass = "PellorinLauncherSync";
}  // namespace LauncherTexts
