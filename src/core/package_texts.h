#pragma once
// The package readers' own message texts: why a cached file's header or objects could not be read.

inline constexpr const char* NotAPackageText = "The file is not a package of the game.";
inline constexpr const char* PackageTruncatedText = "The package ends inside its header or its tables.";
inline constexpr const char* PackageOutsideFileText =
    "A table of the package has a count or an offset beyond the end of the file.";
inline constexpr const char* PackageNameLongerThanFileText = "A name in the package is longer than the file.";
inline constexpr const char* PackageBadCompactIndexText = "The package holds a malformed compact index.";
inline constexpr const char* PackageNameIndexText = "The package refers to a name beyond its name table.";
inline constexpr const char* PackageBadNameText = "A name in the package is empty or not ended by a zero byte.";
inline constexpr const char* PackageTooManyEntriesText =
    "A table of the package claims more names or imports than any package of the game holds.";
inline constexpr const char* PackageNameTooLongText = "A name in the package is longer than any name of the game.";
inline constexpr const char* PackageObjectOutsideFileText = "An object of the package lies beyond the end of the file.";
inline constexpr const char* PackageObjectOverrunText = "An object of the package runs past its own end.";
inline constexpr const char* PackageObjectIndexText = "The package refers to an object its tables do not have.";
inline constexpr const char* PackageBadPropertyText = "A property of an object of the package is malformed.";
inline constexpr const char* PackageBadMipsText = "A texture of the package has a malformed list of pictures.";

// What a package holds, as the preview pane and the details show it.
inline constexpr const char* MapTitleText = "Title: %s";
inline constexpr const char* MapAuthorText = "Author: %s";
inline constexpr const char* MapPlayerRangeText = "Players: %d-%d";
inline constexpr const char* MapPlayerCountText = "Players: %d";
inline constexpr const char* MapDescriptionText = "Description: %s";
inline constexpr const char* NoScreenshotText = "This map has no screenshot.";
inline constexpr const char* PictureInOtherPackageText = "The picture is in another package, %s.";
inline constexpr const char* PictureNotDecodedText = "A picture of the form %s is not shown here.";
inline constexpr const char* PictureTooLargeText = "The picture is larger than 4096 by 4096 pixels.";
inline constexpr const char* PictureChainTooLongText = "The picture lies too many materials deep.";
inline constexpr const char* BriefOtherPackageText = "in %s";
inline constexpr const char* BriefNoPictureText = "no picture";
inline constexpr const char* NoObjectsText = "It exports no objects.";
inline constexpr const char* ObjectCountText = "%u %s";  // "12 textures"
inline constexpr const char* MoreClassesText = "and %u more classes";
