#pragma once
// The texts of taking packages out of the cache: "Remove from Cache" and "Clean Up Cache...".
// "%s" takes a count in words, a byte count or a list of names.
namespace CacheTidyTexts {
inline constexpr const char* OpenTheCacheFirst = "Open the cache first!";
inline constexpr const char* NothingToRemove = "You must tick the packages to remove, or select one!";
inline constexpr const char* NothingRemovable =
    "These packages are left alone, their names or keys not being safe file names: %s";
inline constexpr const char* ConfirmRemoval = "Remove %s (%s) from the cache?\r\n";
inline constexpr const char* ConfirmRemovalLine = "\r\n%s";
inline constexpr const char* ConfirmRemovalEnd =
    "\r\n\r\nTheir payloads are deleted; nothing in the game folders is touched.";
inline constexpr const char* OnePackage = "1 package";
inline constexpr const char* Packages = "%s packages";
inline constexpr const char* Removed = "Removed %s (%s) from the cache.";
inline constexpr const char* CleanedUp = "Cleaned up the cache: %s lines and %s payload files removed (%s).";
// The Clean Up dialog's counts, totals and the game's purge setting.
inline constexpr const char* OneFile = "1 file";
inline constexpr const char* Files = "%s files";
inline constexpr const char* OneLine = "1 line";
inline constexpr const char* Lines = "%s lines";
inline constexpr const char* CountAndSize = "%s, %s";
inline constexpr const char* Totals = "The cache holds %s (%s), %s of them maps.";
inline constexpr const char* UnsafeLeftAlone = " %s names are left alone, not being safe file names.";
inline constexpr const char* PurgeAfter = "The game deletes cached packages after %s days.";
inline constexpr const char* PurgeNever = "The game never deletes cached packages.";
inline constexpr const char* PurgeNotSet = "The game's purge setting is not set: it deletes cached packages after %s days.";
inline constexpr const char* PurgeUnknown = "The game's purge setting is unknown: the game was not found.";
inline constexpr const char* PurgeNote =
    "The game rewrites its settings when it exits: change this with the game closed.";
inline constexpr const char* LookingAtCache = "Looking at the cache: %s of %s packages...";
}  // namespace CacheTidyTexts
