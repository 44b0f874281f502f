#pragma once
// The package reader's own message texts: why a cached file's header could not be read.

inline constexpr const char* NotAPackageText = "The file is not a package of the game.";
inline constexpr const char* PackageTruncatedText = "The package ends inside its header or its tables.";
inline constexpr const char* PackageOutsideFileText =
    "A table of the package has a count or an offset beyond the end of the file.";
inline constexpr const char* PackageNameLongerThanFileText = "A name in the package is longer than the file.";
inline constexpr const char* PackageBadCompactIndexText = "The package holds a malformed compact index.";
inline constexpr const char* PackageNameIndexText = "An import of the package refers to a name beyond its name table.";
inline constexpr const char* PackageBadNameText = "A name in the package is empty or not ended by a zero byte.";
inline constexpr const char* PackageTooManyEntriesText =
    "A table of the package claims more names or imports than any package of the game holds.";
inline constexpr const char* PackageNameTooLongText = "A name in the package is longer than any name of the game.";
