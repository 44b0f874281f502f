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
inline constexpr const char* LookingAtCache = "Looking at the cache: %s of %s packages...";
}  // namespace CacheTidyTexts
