#pragma once
// What a cached package's header says about it. The game's packages begin with a header giving
// their version, their identity (a GUID, of which the game makes the cache key) and where their
// name and import tables stand; the imports name the other packages the package needs. Only the
// header and those two tables are read, never the package's contents.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_streams.h"

// A package's identity as its header stores it: four 32-bit words.
using TPackageGuid = std::array<uint32_t, 4>;

// How many exports and names the package had when one of its generations was saved.
struct TPackageGeneration {
  uint32_t exportCount = 0;
  uint32_t nameCount = 0;
  bool operator==(const TPackageGeneration&) const = default;
};

struct TPackageHeader {
  uint16_t version = 0;
  uint16_t licensee = 0;
  uint32_t flags = 0;
  std::optional<TPackageGuid> guid;  // from version 68 on
  uint32_t generationCount = 0;      // from version 68 on
  // The last of them, the package as it is now; the others are passed over unread.
  TPackageGeneration latestGeneration;
  // The packages it imports at the top level, by name without extension, in import order, each
  // once (letter case of a..z ignored, the first spelling kept). Never empty names, but otherwise
  // as the file has them: not yet checked as file names.
  std::vector<std::string> neededPackages;
};

enum class TPackageFault {
  None,
  NotAPackage,          // too short for the signature, or another signature
  Truncated,            // the file ends inside the header, a name or an import
  OutsideFile,          // a table's count or offset beyond what the rest of the file could hold
  NameLongerThanFile,   // a name's length beyond the end of the file
  BadCompactIndex,      // a compact index beyond 32 bits
  NameIndexOutOfRange,  // an import naming a name the name table does not have
  BadName,              // an empty name, or one not ended by its zero byte or with a zero inside
  TooManyEntries,       // more names or imports than MaxPackageTableEntries
  NameTooLong,          // a name of more than MaxPackageNameBytes bytes, its zero included
  // Found only when the objects are read, past the header and its tables:
  ObjectOutsideFile,      // an object's data beyond the end of the file
  ObjectOverrun,          // an object's properties or data running past the object's end
  ObjectIndexOutOfRange,  // a reference to an import or export the tables do not have
  BadProperty,            // a property of an impossible size, a nested list without its end, too many
  BadMips,                // a texture's mip list of an impossible count, length, size or skip offset
};

// The most names and imports the reader walks, and the longest name it takes: far beyond what the
// game's packages hold (its names have at most 64 characters), so that a file that merely claims
// more (a sparse file claims millions for nothing) costs no more than a real package.
inline constexpr uint32_t MaxPackageTableEntries = 1u << 20;
inline constexpr uint32_t MaxPackageNameBytes = 1024;

struct TPackageReading {
  TPackageFault fault = TPackageFault::None;
  TPackageHeader header;  // read only when fault is None
};

// Reads the header, the name table and the import table. Every count and offset is checked
// against the file's size before it is used, and the tables against the limits above, so a
// malformed file costs no more memory or reading than its own size, nor more than a package of
// the game does. Of the generations only the count and the last are read.
TPackageReading ReadPackageHeader(IRandomAccessSource& source);

// The reason text of a fault (package_texts.h); empty for None.
const char* PackageFaultText(TPackageFault fault);

// The GUID as the game writes it in cache keys: the four words as %08X, in order.
std::string GuidKeyText(const TPackageGuid& guid);

// True when key ("3F2A...D3-1") is GuidKeyText(guid), exactly, followed by "-" and a decimal
// number.
bool CacheKeyMatchesGuid(std::string_view key, const TPackageGuid& guid);
