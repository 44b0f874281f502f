#pragma once
// Which other packages the ticked packages need, followed through the cache: a map needs its
// textures and code, which need their own. Pure: where a package is and what a cached one needs
// come from the caller's callbacks.
#include <functional>
#include <string>
#include <vector>

#include "core/text_rules.h"

// The names a package needs (without extension), or why they cannot be known.
struct TNeedsReading {
  std::vector<std::string> names;
  std::string failure;  // the reason text; empty when the names were read
};
using TNeedsReader = std::function<TNeedsReading()>;

// Where the game would find a package: in its folders (installed, or one of its own), in the
// download cache as a package it can load, named by the cache's index but with a payload that is
// missing or no package (which the game cannot load either), or nowhere.
enum class TPackagePlace { Installed, Cached, CachedPayloadMissing, CachedNotAPackage, Missing };

struct TPackageLocation {
  TPackagePlace place = TPackagePlace::Missing;
  std::vector<std::string> needs;  // of a cached package, read from its header to place it
};

// Says where the package of a name is. It is asked only about plain file names
// (IsSafeFileName with no folder), each name once; it still checks a name with every folder it
// puts it in.
using TPackageLookup = std::function<TPackageLocation(const std::string& name)>;

// A ticked package: its name without extension and how to read what it needs.
struct TRootPackage {
  std::string name;
  TNeedsReader readNeeds;
};

// A needed package and the package through which it was first reached.
struct TNeededPackage {
  std::string name;
  std::string neededBy;
  bool operator==(const TNeededPackage&) const = default;
};

struct TUnreadableNeeds {
  std::string name;
  std::string reason;
  bool operator==(const TUnreadableNeeds&) const = default;
};

struct TPackageNeeds {
  // Cached packages needed, directly or through others, that are neither installed nor ticked.
  std::vector<TNeededPackage> cached;
  // Names needed that the game can load from nowhere (neither installed nor cached as a package
  // it can read), or that are no plain file name.
  std::vector<TNeededPackage> missing;
  // Ticked packages whose needs could not be read: they count as needing nothing.
  std::vector<TUnreadableNeeds> unreadable;
};

// Follows the needs of roots breadth-first, roots in order and each package's needs in their
// order, so each list is in the order its packages were reached. Names are compared as the
// Windows file system compares them (a..z only, so "engine" is "Engine"); every name is looked up
// and every package's needs read at most once, so loops end. Installed packages are not followed.
TPackageNeeds ResolvePackageNeeds(const std::vector<TRootPackage>& roots, const TPackageLookup& lookup,
                                  TLeadByteTest isLeadByte);
