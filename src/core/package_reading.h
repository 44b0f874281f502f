#pragma once
// What the package readers share: a cursor that reads a package's bytes through a window, with
// the game's compact index; the header and where its tables stand; the name table; the import
// table. The first fault found ends a reading by throwing TFaultFound, which the reader that
// started it catches.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_streams.h"
#include "core/package_header.h"

struct TFaultFound {
  TPackageFault fault;
};

[[noreturn]] void Refuse(TPackageFault fault);

// Reads forward from an offset through a window of the file, so that a table of many small
// entries costs few reads, and no more is read than one window beyond what is asked for. It reads
// only up to end: the file's size, or the end of one object of it.
class TFileCursor {
public:
  // A read past end refuses with pastEnd; a file that turns out shorter than its size with Truncated.
  TFileCursor(IRandomAccessSource& source, uint64_t end, uint64_t offset,
              TPackageFault pastEnd = TPackageFault::Truncated)
      : source_(source), end_(end), position_(offset), pastEnd_(pastEnd) {}

  uint64_t Position() const { return position_; }
  uint64_t Remaining() const { return end_ - position_; }

  uint8_t Byte() { return *Take(1); }
  uint16_t Half();
  uint32_t Word();
  // The game's variable-length signed integer: the first byte holds the sign (bit 7), "more
  // follows" (bit 6) and the lowest 6 bits; the next three each 7 more bits under their own "more
  // follows" (bit 7); a fifth byte 8 more bits. A magnitude beyond 31 bits is refused.
  int32_t CompactIndex();
  // Appends the next n bytes to text; n must not exceed Remaining().
  void AppendBytes(uint64_t n, std::string& text);
  // Moves past the next n bytes without reading them.
  void Skip(uint64_t n);

private:
  // The next n bytes (n at most WindowBytes), moving past them.
  const unsigned char* Take(size_t n);

  static constexpr size_t WindowBytes = 4096;
  IRandomAccessSource& source_;
  const uint64_t end_;
  uint64_t position_;
  const TPackageFault pastEnd_;
  uint64_t windowStart_ = 0;
  size_t windowLength_ = 0;
  std::array<unsigned char, WindowBytes> window_;
};

// Where a table stands, as the header gives it.
struct TTable {
  uint32_t count = 0;
  uint32_t offset = 0;
};

// The header and its three tables' places, each checked to lie inside the file.
struct TPackageLayout {
  TPackageHeader header;  // without the packages it needs, which the imports tell
  uint64_t size = 0;
  TTable names, exports, imports;
};

TPackageLayout ReadPackageLayout(IRandomAccessSource& source);

// The names, one after the other in one text, so that many short names cost no more than their bytes.
class TNameTable {
public:
  std::string_view operator[](size_t index) const {
    const size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(start, ends_[index] - start);
  }
  size_t Count() const { return ends_.size(); }

  static TNameTable Read(IRandomAccessSource& source, const TPackageLayout& layout);

private:
  std::string text_;
  std::vector<size_t> ends_;
};

// A name index read at the cursor, checked against the table.
uint32_t NameIndexAt(TFileCursor& cursor, const TNameTable& names);

// An import: its class's name, what it lies in (0 nothing, -n import n-1, +n export n-1: the
// file's one reference stored as four bytes) and its own name, as name indexes.
struct TPackageImport {
  uint32_t className = 0;
  int32_t outer = 0;
  uint32_t objectName = 0;
};

std::vector<TPackageImport> ReadImportTable(IRandomAccessSource& source, const TPackageLayout& layout,
                                            const TNameTable& names);
