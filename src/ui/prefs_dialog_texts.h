#pragma once
// The preferences dialog's texts beyond those of its template (resources.rc).
namespace PrefsDialogTexts {
inline constexpr const char* FolderDialogTitle = "Browse for Folder";
inline constexpr const char* CreateFolderButton = "Create Folder";
inline constexpr const char* DeleteButton = "Delete";
}  // namespace PrefsDialogTexts
