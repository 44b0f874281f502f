#include "core/package_header.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "core/little_endian.h"
#include "core/package_texts.h"

namespace {

constexpr uint32_t PackageSignature = 0x9E2A83C1;
// From this version on a name is stored with its length in front; before, it only ends in a zero.
constexpr uint16_t FirstVersionWithNameLengths = 64;
// From this version on the header holds the GUID and the generations.
constexpr uint16_t FirstVersionWithGuid = 68;

// The fewest bytes an entry the reader accepts can take: no count from the file is believed
// beyond what the rest of the file could hold.
constexpr uint64_t MinNameBytes = 7;           // length, one character, its zero, flags
constexpr uint64_t MinUnprefixedNameBytes = 6;  // one character, its zero, flags
constexpr uint64_t MinImportBytes = 7;          // three one-byte compact indexes, the outer
constexpr uint64_t MinExportBytes = 12;         // four one-byte compact indexes, the outer, flags
constexpr uint64_t GenerationBytes = 8;

constexpr size_t WindowBytes = 4096;
constexpr int32_t MaxSigned = 0x7FFFFFFF;

// Thrown and caught inside the reader only: the first fault found ends the reading.
struct TFaultFound {
  TPackageFault fault;
};

[[noreturn]] void Refuse(TPackageFault fault) { throw TFaultFound{fault}; }

// Reads forward from an offset through a window of the file, so that a table of many small
// entries costs few reads, and no more is read than one window beyond the table.
class TFileCursor {
public:
  TFileCursor(IRandomAccessSource& source, uint64_t size, uint64_t offset) : source_(source), size_(size), position_(offset) {}

  uint64_t Remaining() const { return size_ - position_; }

  // Moves past the next n bytes without reading them; refuses a file that ends first.
  void Skip(uint64_t n) {
    if (n > Remaining()) Refuse(TPackageFault::Truncated);
    position_ += n;
  }

  uint8_t Byte() { return *Take(1); }
  uint16_t Half() { return LoadLe16(reinterpret_cast<const char*>(Take(2))); }
  uint32_t Word() { return LoadLe32(reinterpret_cast<const char*>(Take(4))); }

  // The game's variable-length signed integer: the first byte holds the sign (bit 7), "more
  // follows" (bit 6) and the lowest 6 bits; the next three each 7 more bits under their own "more
  // follows" (bit 7); a fifth byte 8 more bits. A magnitude beyond 31 bits is refused.
  int32_t CompactIndex() {
    const uint8_t first = Byte();
    uint64_t magnitude = first & 0x3F;
    if (first & 0x40) {
      for (int shift = 6;; shift += 7) {
        const uint8_t next = Byte();
        if (shift == 27) {
          magnitude |= static_cast<uint64_t>(next) << shift;
          break;
        }
        magnitude |= static_cast<uint64_t>(next & 0x7F) << shift;
        if (!(next & 0x80)) break;
      }
    }
    if (magnitude > static_cast<uint64_t>(MaxSigned)) Refuse(TPackageFault::BadCompactIndex);
    const auto value = static_cast<int32_t>(magnitude);
    return (first & 0x80) ? -value : value;
  }

  // Appends the next n bytes to text; n must not exceed Remaining().
  void AppendBytes(uint64_t n, std::string& text) {
    while (n > 0) {
      const uint64_t windowEnd = windowStart_ + windowLength_;
      const uint64_t inWindow = position_ < windowEnd ? windowEnd - position_ : WindowBytes;
      const auto piece = static_cast<size_t>(std::min<uint64_t>(n, inWindow));
      text.append(reinterpret_cast<const char*>(Take(piece)), piece);
      n -= piece;
    }
  }

private:
  // The next n bytes (n at most WindowBytes), moving past them; refuses a file that ends first.
  const unsigned char* Take(size_t n) {
    if (n > Remaining()) Refuse(TPackageFault::Truncated);
    if (position_ + n > windowStart_ + windowLength_) {
      windowStart_ = position_;
      windowLength_ = static_cast<size_t>(std::min<uint64_t>(WindowBytes, Remaining()));
      // A file that shrank since it was sized ends early.
      if (ReadAtFully(source_, windowStart_, reinterpret_cast<char*>(window_.data()), windowLength_) != windowLength_)
        Refuse(TPackageFault::Truncated);
    }
    const unsigned char* bytes = window_.data() + (position_ - windowStart_);
    position_ += n;
    return bytes;
  }

  IRandomAccessSource& source_;
  const uint64_t size_;
  uint64_t position_;
  uint64_t windowStart_ = 0;
  size_t windowLength_ = 0;
  std::array<unsigned char, WindowBytes> window_;
};

// Where a table stands, as the header gives it.
struct TTable {
  uint32_t count = 0;
  uint32_t offset = 0;
};

// The game reads counts and offsets as signed numbers, so one with the top bit set is never valid.
void CheckInsideFile(const TTable& table, uint64_t entryBytes, uint64_t size) {
  if (table.count > static_cast<uint32_t>(MaxSigned) || table.offset > static_cast<uint32_t>(MaxSigned) ||
      table.offset > size || table.count > (size - table.offset) / entryBytes)
    Refuse(TPackageFault::OutsideFile);
}

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Package names compared as the Windows file system compares them (a..z only).
struct TFoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return FoldCase(x) == FoldCase(y);
           });
  }
};
struct TFoldedHash {
  size_t operator()(std::string_view s) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (const char c : s) hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    return static_cast<size_t>(hash);
  }
};

// The names, one after the other in one text, so that many short names cost no more than their bytes.
class TNameTable {
public:
  std::string_view operator[](size_t index) const {
    const size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(start, ends_[index] - start);
  }
  size_t Count() const { return ends_.size(); }

  static TNameTable Read(IRandomAccessSource& source, uint64_t size, const TTable& table, uint16_t version) {
    TNameTable names;
    names.ends_.reserve(table.count);
    TFileCursor cursor(source, size, table.offset);
    for (uint32_t i = 0; i < table.count; ++i) {
      const size_t start = names.text_.size();
      if (version >= FirstVersionWithNameLengths) {
        const int32_t length = cursor.CompactIndex();  // counts the zero
        if (length <= 1) Refuse(TPackageFault::BadName);
        if (static_cast<uint64_t>(length) > cursor.Remaining()) Refuse(TPackageFault::NameLongerThanFile);
        if (static_cast<uint32_t>(length) > MaxPackageNameBytes) Refuse(TPackageFault::NameTooLong);
        cursor.AppendBytes(static_cast<uint64_t>(length), names.text_);
        if (names.text_.back() != '\0') Refuse(TPackageFault::BadName);
        names.text_.pop_back();
        if (names.text_.find('\0', start) != std::string::npos) Refuse(TPackageFault::BadName);
      } else {
        for (;;) {
          if (cursor.Remaining() == 0) Refuse(TPackageFault::NameLongerThanFile);
          const char c = static_cast<char>(cursor.Byte());
          if (c == '\0') break;
          if (names.text_.size() - start + 1 >= MaxPackageNameBytes) Refuse(TPackageFault::NameTooLong);
          names.text_ += c;
        }
        if (names.text_.size() == start) Refuse(TPackageFault::BadName);
      }
      names.ends_.push_back(names.text_.size());
      cursor.Word();  // the name's flags
    }
    return names;
  }

private:
  std::string text_;
  std::vector<size_t> ends_;
};

std::string_view NameAt(TFileCursor& cursor, const TNameTable& names) {
  const int32_t index = cursor.CompactIndex();
  if (index < 0 || static_cast<size_t>(index) >= names.Count()) Refuse(TPackageFault::NameIndexOutOfRange);
  return names[static_cast<size_t>(index)];
}

// A package the package needs is an import of class "Package" with no outer; one inside another
// (a group) is part of that package.
std::vector<std::string> ReadNeededPackages(IRandomAccessSource& source, uint64_t size, const TTable& table,
                                            const TNameTable& names) {
  std::vector<std::string> needed;
  std::unordered_set<std::string_view, TFoldedHash, TFoldedEqual> seen;
  TFileCursor cursor(source, size, table.offset);
  for (uint32_t i = 0; i < table.count; ++i) {
    NameAt(cursor, names);  // the class's package
    const std::string_view className = NameAt(cursor, names);
    const auto outer = static_cast<int32_t>(cursor.Word());
    const std::string_view objectName = NameAt(cursor, names);
    if (outer == 0 && TFoldedEqual()(className, "Package") && seen.insert(objectName).second)
      needed.emplace_back(objectName);
  }
  return needed;
}

TPackageHeader ReadHeaderAndTables(IRandomAccessSource& source) {
  const uint64_t size = source.Size();
  if (size < sizeof(PackageSignature)) Refuse(TPackageFault::NotAPackage);
  TFileCursor cursor(source, size, 0);
  if (cursor.Word() != PackageSignature) Refuse(TPackageFault::NotAPackage);
  TPackageHeader header;
  header.version = cursor.Half();
  header.licensee = cursor.Half();
  header.flags = cursor.Word();
  TTable names, exports, imports;
  for (TTable* table : {&names, &exports, &imports}) {
    table->count = cursor.Word();
    table->offset = cursor.Word();
  }
  if (header.version >= FirstVersionWithGuid) {
    TPackageGuid guid;
    for (uint32_t& word : guid) word = cursor.Word();
    header.guid = guid;
    header.generationCount = cursor.Word();
    if (header.generationCount > cursor.Remaining() / GenerationBytes) Refuse(TPackageFault::OutsideFile);
    if (header.generationCount > 0) {
      cursor.Skip(uint64_t{header.generationCount - 1} * GenerationBytes);
      header.latestGeneration.exportCount = cursor.Word();
      header.latestGeneration.nameCount = cursor.Word();
    }
  }
  CheckInsideFile(names, header.version >= FirstVersionWithNameLengths ? MinNameBytes : MinUnprefixedNameBytes, size);
  CheckInsideFile(imports, MinImportBytes, size);
  CheckInsideFile(exports, MinExportBytes, size);
  if (names.count > MaxPackageTableEntries || imports.count > MaxPackageTableEntries)
    Refuse(TPackageFault::TooManyEntries);
  const TNameTable nameTable = TNameTable::Read(source, size, names, header.version);
  header.neededPackages = ReadNeededPackages(source, size, imports, nameTable);
  return header;
}

}  // namespace

TPackageReading ReadPackageHeader(IRandomAccessSource& source) {
  try {
    return {TPackageFault::None, ReadHeaderAndTables(source)};
  } catch (const TFaultFound& found) {
    return {found.fault, {}};
  }
}

const char* PackageFaultText(TPackageFault fault) {
  switch (fault) {
    case TPackageFault::None: return "";
    case TPackageFault::NotAPackage: return NotAPackageText;
    case TPackageFault::Truncated: return PackageTruncatedText;
    case TPackageFault::OutsideFile: return PackageOutsideFileText;
    case TPackageFault::NameLongerThanFile: return PackageNameLongerThanFileText;
    case TPackageFault::BadCompactIndex: return PackageBadCompactIndexText;
    case TPackageFault::NameIndexOutOfRange: return PackageNameIndexText;
    case TPackageFault::BadName: return PackageBadNameText;
    case TPackageFault::TooManyEntries: return PackageTooManyEntriesText;
    case TPackageFault::NameTooLong: return PackageNameTooLongText;
  }
  return "";
}

std::string GuidKeyText(const TPackageGuid& guid) {
  char text[4 * 8 + 1];
  std::snprintf(text, sizeof text, "%08X%08X%08X%08X", static_cast<unsigned>(guid[0]), static_cast<unsigned>(guid[1]),
                static_cast<unsigned>(guid[2]), static_cast<unsigned>(guid[3]));
  return text;
}

bool CacheKeyMatchesGuid(std::string_view key, const TPackageGuid& guid) {
  const size_t dash = key.rfind('-');
  if (dash == std::string_view::npos) return false;
  const std::string_view number = key.substr(dash + 1);
  return !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         key.substr(0, dash) == GuidKeyText(guid);
}
