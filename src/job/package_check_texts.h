#pragma once
// The texts of the package checks: "Select Needed Packages", the question before an integration
// run and the package details.
namespace PackageCheckTexts {
inline constexpr const char* TickedOne = "Ticked 1 needed package.";
inline constexpr const char* TickedMany = "Ticked %d needed packages.";

// The question before a run: the list, each line "%s, needed by %s", then the question.
inline constexpr const char* NeededIntro =
    "The ticked packages need these packages of the cache, which are neither ticked nor installed:\r\n";
inline constexpr const char* NeededLine = "\r\n%s, needed by %s";
inline constexpr const char* NeededMore = "\r\nand %d more";
inline constexpr const char* NeededQuestion =
    "\r\n\r\nWithout them the game cannot load what needs them. Tick them too?";

inline constexpr const char* NoPayload = "The cache has no payload of a safe name for this package.";

// The details, one line each.
inline constexpr const char* DetailName = "Package: %s";
inline constexpr const char* DetailKey = "Cache key: %s";
inline constexpr const char* DetailSize = "Size: %lld bytes";
inline constexpr const char* DetailNotAPackage = "This payload cannot be read as a package: %s";
inline constexpr const char* DetailVersion = "Package version: %u (licensee %u)";
inline constexpr const char* DetailNoGuid = "GUID: none (packages of this version have none)";
inline constexpr const char* DetailGuidMatches = "GUID: %s, matches the cache key";
inline constexpr const char* DetailGuidDiffers =
    "GUID: %s, does not match the cache key: this payload is not the package the index names";
inline constexpr const char* DetailNoGenerations = "Generations: none";
inline constexpr const char* DetailLatestGeneration = "Generations: %u, the latest with %u exports and %u names";
inline constexpr const char* DetailNeedsNothing = "Needed packages: none";
inline constexpr const char* DetailNeeds = "Needed packages:";
inline constexpr const char* DetailNeed = "    %s: %s";
inline constexpr const char* PlaceInstalled = "installed";
inline constexpr const char* PlaceCached = "in the cache";
inline constexpr const char* PlaceCachedPayloadMissing = "in the cache, payload missing";
inline constexpr const char* PlaceCachedNotAPackage = "in the cache, not a package";
inline constexpr const char* PlaceMissing = "missing";
}  // namespace PackageCheckTexts
