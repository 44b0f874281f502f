#include "core/package_reading.h"

#include <algorithm>

#include "core/little_endian.h"

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

constexpr int32_t MaxSigned = 0x7FFFFFFF;

// The game reads counts and offsets as signed numbers, so one with the top bit set is never valid.
void CheckInsideFile(const TTable& table, uint64_t entryBytes, uint64_t size) {
  if (table.count > static_cast<uint32_t>(MaxSigned) || table.offset > static_cast<uint32_t>(MaxSigned) ||
      table.offset > size || table.count > (size - table.offset) / entryBytes)
    Refuse(TPackageFault::OutsideFile);
}

}  // namespace

void Refuse(TPackageFault fault) { throw TFaultFound{fault}; }

uint16_t TFileCursor::Half() { return LoadLe16(reinterpret_cast<const char*>(Take(2))); }
uint32_t TFileCursor::Word() { return LoadLe32(reinterpret_cast<const char*>(Take(4))); }

int32_t TFileCursor::CompactIndex() {
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

void TFileCursor::AppendBytes(uint64_t n, std::string& text) {
  while (n > 0) {
    const uint64_t windowEnd = windowStart_ + windowLength_;
    const uint64_t inWindow = position_ < windowEnd ? windowEnd - position_ : WindowBytes;
    const auto piece = static_cast<size_t>(std::min<uint64_t>(n, inWindow));
    text.append(reinterpret_cast<const char*>(Take(piece)), piece);
    n -= piece;
  }
}

void TFileCursor::Skip(uint64_t n) {
  if (n > Remaining()) Refuse(pastEnd_);
  position_ += n;
}

const unsigned char* TFileCursor::Take(size_t n) {
  if (n > Remaining()) Refuse(pastEnd_);
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

TPackageLayout ReadPackageLayout(IRandomAccessSource& source) {
  TPackageLayout layout;
  layout.size = source.Size();
  if (layout.size < sizeof(PackageSignature)) Refuse(TPackageFault::NotAPackage);
  TFileCursor cursor(source, layout.size, 0);
  if (cursor.Word() != PackageSignature) Refuse(TPackageFault::NotAPackage);
  TPackageHeader& header = layout.header;
  header.version = cursor.Half();
  header.licensee = cursor.Half();
  header.flags = cursor.Word();
  for (TTable* table : {&layout.names, &layout.exports, &layout.imports}) {
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
  CheckInsideFile(layout.names, header.version >= FirstVersionWithNameLengths ? MinNameBytes : MinUnprefixedNameBytes,
                  layout.size);
  CheckInsideFile(layout.imports, MinImportBytes, layout.size);
  CheckInsideFile(layout.exports, MinExportBytes, layout.size);
  if (layout.names.count > MaxPackageTableEntries || layout.imports.count > MaxPackageTableEntries)
    Refuse(TPackageFault::TooManyEntries);
  return layout;
}

TNameTable TNameTable::Read(IRandomAccessSource& source, const TPackageLayout& layout) {
  TNameTable names;
  names.ends_.reserve(layout.names.count);
  TFileCursor cursor(source, layout.size, layout.names.offset);
  for (uint32_t i = 0; i < layout.names.count; ++i) {
    const size_t start = names.text_.size();
    if (layout.header.version >= FirstVersionWithNameLengths) {
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

uint32_t NameIndexAt(TFileCursor& cursor, const TNameTable& names) {
  const int32_t index = cursor.CompactIndex();
  if (index < 0 || static_cast<size_t>(index) >= names.Count()) Refuse(TPackageFault::NameIndexOutOfRange);
  return static_cast<uint32_t>(index);
}

std::vector<TPackageImport> ReadImportTable(IRandomAccessSource& source, const TPackageLayout& layout,
                                            const TNameTable& names) {
  std::vector<TPackageImport> imports;
  TFileCursor cursor(source, layout.size, layout.imports.offset);
  for (uint32_t i = 0; i < layout.imports.count; ++i) {
    TPackageImport& import = imports.emplace_back();
    NameIndexAt(cursor, names);  // the class's package, checked against the table
    import.className = NameIndexAt(cursor, names);
    import.outer = static_cast<int32_t>(cursor.Word());
    import.objectName = NameIndexAt(cursor, names);
  }
  return imports;
}
