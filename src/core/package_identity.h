#pragma once
// Which version of a package a file holds. The game tells two packages of one name apart by the
// GUID in their headers: a file of the same name with another GUID is another package to it, and
// the maps and mods built on the one do not load with the other.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/package_header.h"

// The bytes at the start of a package that hold its GUID.
inline constexpr size_t PackageIdentityBytes = 52;

// The GUID of the package whose file begins with firstBytes; nothing when they are not the start
// of a package, or of one too old to have a GUID.
std::optional<TPackageGuid> PackageGuidOf(std::string_view firstBytes);

// A file as far as telling versions apart goes.
struct TFileVersion {
  std::uint64_t size = 0;
  std::optional<TPackageGuid> guid;  // when the file is a package with a GUID
};

enum class TVersionMatch {
  Same,          // one version: the same GUID and the same size
  Different,     // another version, or other bytes
  CompareBytes,  // not both packages: only their bytes can tell
};

// Two packages with GUIDs are the same version when GUID and size agree; files that are not both
// such packages are alike only when their bytes are, which sizes that differ already deny.
TVersionMatch MatchVersions(const TFileVersion& installed, const TFileVersion& incoming);
