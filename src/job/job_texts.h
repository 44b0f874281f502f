#pragma once
// The texts of the program's work: the integration run, the mutator registration, Open cache, the
// main window's commands and the first run. "%s" takes a file name.
namespace JobTexts {
inline constexpr const char* ErrorOpeningFile = "Error opening file";
inline constexpr const char* ErrorCreatingOutputFile = "Error creating output file";
inline constexpr const char* ErrorReadingFile = "Error reading file";
inline constexpr const char* ErrorWritingOutputFile = "Error writing output file";

inline constexpr const char* CopyingFile = "Copying %s...";
inline constexpr const char* DeletingFile = "Deleting %s...";
inline constexpr const char* UpdatingCacheFile = "Updating cache file...";
inline constexpr const char* Done = "Done!";
inline constexpr const char* NothingTicked = "You must select a file to grab from the cache!";
inline constexpr const char* RunSucceeded =
    "The selected files have been successfully integrated into\r\nyour UT2004 installation.\r\n\r\n"
    "The files remaining on screen (if any) are the ones that have not been\r\ncopied and remain in "
    "your UT cache directory.";

inline constexpr const char* ConfirmInstallMutator = "Do you wish to install the mutator:\r\n\r\n%s";
inline constexpr const char* InstallingMutator = "Installing mutator %s...";
inline constexpr const char* RegisteringMutator = "Registering mutator %s...";
inline constexpr const char* RegisterWarning =
    "WARNING! Performing this action could corrupt your UT2K4 installation\r\nif there are any "
    "corrupt/unusable mutators present.  You should make \r\na backup of your UT2004 folder before "
    "performing this operation.\r\n\r\nAre you sure you want to continue?";
inline constexpr const char* ExportCacheParameters = "exportcache %s";
inline constexpr const char* GameToolFileName = "ucc.exe";

inline constexpr const char* OpenCacheDialogTitle = "Please select your UT2004 root folder";
inline constexpr const char* OpenCacheDialogFilter = "UT2K4 Cache files|*.ini";
inline constexpr const char* CacheOpened = "Select files to integrate and click Integrate!";

inline constexpr const char* FirstRun =
    "Since this is your first time using Pellorin, you should\r\nconsider setting your preferences.";

// Shown when a command is chosen while a long operation is running; the operation goes on.
inline constexpr const char* BusyRefusal = "Please wait until the current operation has finished.";
}  // namespace JobTexts
