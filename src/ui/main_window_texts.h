#pragma once
// The main window's own texts: caption, control captions, column headers, the first status line.
namespace MainWindowTexts {
inline constexpr const char* Caption = "UT2K4 Pellorin v1.2 by Morvane";
inline constexpr const char* OpenCacheButton = "Open cache";
inline constexpr const char* CopySelectedButton = "Integrate selected";
inline constexpr const char* FilenameColumn = "Filename";
inline constexpr const char* SizeColumn = "Size";
inline constexpr const char* TypeColumn = "Type";
inline constexpr const char* InitialStatus = "Click on \"Open cache\" to begin!";
inline constexpr const char* FontName = "MS Sans Serif";
inline constexpr const char* CreateWindowFailed = "Error creating window";
inline constexpr const char* LoadPictureFailed = "Error loading picture";
// A file-open dialog that failed rather than was cancelled (too many files chosen, say); %lu is
// the dialog's error number.
inline constexpr const char* FileDialogFailed = "The file dialog failed (error %lu)";
}  // namespace MainWindowTexts
