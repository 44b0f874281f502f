#pragma once
// Package kinds, read from the extension of a package's real file name: the kind decides its
// display name, its type text and the game folder it belongs in.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/applied_prefs.h"
#include "core/text_rules.h"

enum TPackageKind { pkMap, pkMutator, pkTexture, pkSound, pkMusic, pkStaticMesh, pkKarma, pkAnimation, pkOther };

// Display names, indexed by kind.
extern const std::array<const char*, 9> KindNames;

// The kind of FileExtOf(name): ".ut2", ".u", ".utx", ".uax", ".ogg", ".usx", ".ka", ".ukx" compared
// exactly (".UT2" is pkOther); any other extension, or none, is pkOther.
TPackageKind GetPackageKind(std::string_view name, TLeadByteTest isLeadByte);

// The kind of a file on disk, such as one the user chose to install: its extension compared with
// the letter case of a..z ignored, as Windows names are ("DM-X.UT2" is a map). Rows of the cache
// index keep GetPackageKind's exact rule.
TPackageKind GetFileKind(std::string_view name, TLeadByteTest isLeadByte);

// The extensions of the eight package kinds, as GetPackageKind compares them.
std::array<const char*, 8> PackageExtensions();

// The preferences folder that holds packages of the kind; empty for pkOther.
std::string GetDestinationFolder(TPackageKind kind, const TAppliedPrefs& prefs);

// The "Type" column: the kind's display name, for a map led by its game-mode label
// ("Deathmatch Map" for DM-Rankin.ut2).
std::string TypeTextOf(std::string_view name, TLeadByteTest isLeadByte);

// The "Size" column: above 1048576 bytes "%.2fMB" (a half rounds up, decimalSeparator between
// the units and the decimals), above 1024 "%dKB" (truncated), else "%d bytes" (negatives too).
std::string FormatSize(int64_t size, char decimalSeparator);

// A count of bytes in a sentence: "512 bytes", else with one decimal (a half rounded up,
// decimalSeparator before it) "3.4 KB", "12.4 MB" or "1.2 GB", by powers of 1024.
std::string FormatByteCount(uint64_t bytes, char decimalSeparator);
