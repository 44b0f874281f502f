#pragma once
// The texts of exporting ticked packages and of installing package files. "%s" takes a file name,
// a folder or a count.
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/text_rules.h"

namespace TransferTexts {
inline constexpr const char* ExportingFile = "Exporting %s...";
inline constexpr const char* NothingToExport = "You must tick the packages to export!";
inline constexpr const char* ExportIntoCache = "The packages cannot be exported into the cache folder itself.";
inline constexpr const char* CannotCreateFolder = "Cannot create folder \"%s\". %s";

inline constexpr const char* ExportedFile = "1 file written to\r\n%s";
inline constexpr const char* ExportedFiles = "%s files written to\r\n%s";
inline constexpr const char* ExportedToArchive = "1 package written to the archive\r\n%s";
inline constexpr const char* ExportedManyToArchive = "%s packages written to the archive\r\n%s";
inline constexpr const char* UnknownKindsAtRoot =
    "\r\n\r\nPackages of unknown kind were placed at the top of the layout: %s";
inline constexpr const char* UnknownKindsSkipped =
    "\r\n\r\nPackages of unknown kind have no place on a redirect server and were left out: %s";
inline constexpr const char* UnsafeRowsSkipped =
    "\r\n\r\nLeft out for names that are not plain file names, or without a cache entry: %s";
// The archive's own name in the folder chosen.
inline constexpr const char* ExportArchiveName = "Packages.zip";

inline constexpr const char* PickFilesTitle = "Install package files";
inline constexpr const char* PickFilesFilter =
    "Packages, compressed packages and archives|*.ut2;*.utx;*.u;*.ogg;*.uax;*.usx;*.ka;*.ukx;*.uz2;*.zip|"
    "All files|*.*";
inline constexpr const char* InstalledFile = "1 package installed into your UT2004 installation.";
inline constexpr const char* InstalledFiles = "%s packages installed into your UT2004 installation.";
inline constexpr const char* FailedFiles = "\r\n\r\nNot installed, for the errors shown: %s";
inline constexpr const char* IgnoredFiles = "\r\n\r\nIgnored, being no package file of a known kind: %s";
inline constexpr const char* UnsafeFilesIgnored = "\r\n\r\nIgnored, their names not being safe file names: %s";
inline constexpr const char* AlreadyInPlace = "\r\n\r\nAlready in their game folders: %s";
// The headline of an error in a chosen file; "%s" takes the file's name, then the reason.
inline constexpr const char* QuotedName = "\"%s\"";

// The question before a run that would replace installed versions: a line for each package, "%s"
// taking its name, the installed version, the word for the new one ("cached", "new") and the new
// version.
inline constexpr const char* ConflictIntro = "Another version of these packages is installed already:\r\n";
inline constexpr const char* ConflictLine = "\r\n%s: installed %s; %s %s";
inline constexpr const char* ListedMore = "\r\nand %s more";
inline constexpr const char* ConflictQuestion =
    "\r\n\r\nMaps and mods made for the installed version may not load with another one. Replace the "
    "installed versions? Each one replaced is kept in a folder \"Replaced\" beside it. No leaves them "
    "installed and passes these packages over.";
inline constexpr const char* CachedVersion = "cached";
inline constexpr const char* NewVersion = "new";
inline constexpr const char* VersionWithGuid = "GUID %s, %s bytes";
inline constexpr const char* VersionWithoutGuid = "%s bytes";
inline constexpr const char* VersionUnread = "a file that cannot be read";

// The notes of the end boxes about packages passed over, and the versions kept.
inline constexpr const char* CaseTwinsPassedOver =
    "\r\n\r\nPassed over, another package of the same name but for its letter case going first: %s";
inline constexpr const char* StockPassedOver =
    "\r\n\r\nPassed over, being named like one of the game's own code packages: %s";
inline constexpr const char* EmptyPassedOver = "\r\n\r\nPassed over as damaged, being empty: %s";
inline constexpr const char* OtherVersionsPassedOver =
    "\r\n\r\nPassed over, the installed version being kept: %s";
inline constexpr const char* KeptOneVersion = "\r\n\r\nThe version it replaced was kept in\r\n%s";
inline constexpr const char* KeptVersions =
    "\r\n\r\nThe %s versions they replaced were kept in folders \"Replaced\" beside them, the first in\r\n%s";

// A count in words: the text for one, or the other with the number for "%s".
inline std::string CountText(size_t count, const char* one, const char* many, const std::string& more = {}) {
  return count == 1 ? FormatText(one, more.c_str()) : FormatText(many, std::to_string(count).c_str(), more.c_str());
}

// After the names an end box lists, how many more it does not.
inline constexpr const char* MoreNames = " and %s more";

// The names of an end box's note, "a, b, c", as boxes show them and at most MaxShownNames of them.
inline std::string NameList(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size() && i < MaxShownNames; ++i) text += (i == 0 ? "" : ", ") + ShownName(names[i]);
  if (names.size() > MaxShownNames) text += FormatText(MoreNames, std::to_string(names.size() - MaxShownNames).c_str());
  return text;
}
}  // namespace TransferTexts
