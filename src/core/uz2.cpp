#include "core/uz2.h"

#include <zlib.h>

#include <new>
#include <vector>

#include "core/text_rules.h"
#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "core/little_endian.h"
#include "core/zlib_streams.h"

namespace {

constexpr size_t ChunkHeaderSize = 8;

void RefuseChunk(TInflateResult result, std::uint64_t offset, std::uint32_t originalSize) {
  using namespace ArchiveTexts;
  const std::string at = std::to_string(offset);
  switch (result) {
    case TInflateResult::Complete: return;
    case TInflateResult::InputCut: RefuseArchive(ChunkDataCut, {at});
    case TInflateResult::NotCompressedData: RefuseArchive(ChunkNotCompressedData, {at});
    case TInflateResult::OutputDiffers: RefuseArchive(ChunkSizeDiffers, {at, std::to_string(originalSize)});
    case TInflateResult::InputLeftOver: RefuseArchive(ChunkDataEndsEarly, {at});
  }
}

}  // namespace

std::uint64_t WriteUz2(IByteSource& original, IByteSink& uz2) {
  std::vector<char> in(Uz2ChunkSize);
  std::vector<char> chunk(ChunkHeaderSize + compressBound(Uz2ChunkSize));
  std::uint64_t written = 0;
  for (;;) {
    const size_t got = ReadFully(original, in.data(), in.size());
    if (got == 0) break;
    uLongf compressedSize = static_cast<uLongf>(chunk.size() - ChunkHeaderSize);
    // With a buffer of compressBound's size, compress() fails only for want of memory.
    if (compress(reinterpret_cast<Bytef*>(chunk.data() + ChunkHeaderSize), &compressedSize,
                 reinterpret_cast<const Bytef*>(in.data()), static_cast<uLong>(got)) != Z_OK)
      throw std::bad_alloc();
    std::string header;
    AppendLe32(header, static_cast<std::uint32_t>(compressedSize));
    AppendLe32(header, static_cast<std::uint32_t>(got));
    header.copy(chunk.data(), ChunkHeaderSize);
    uz2.Write(chunk.data(), ChunkHeaderSize + compressedSize);
    written += ChunkHeaderSize + compressedSize;
  }
  return written;
}

std::uint64_t ReadUz2(IByteSource& uz2, IByteSink& original) {
  using namespace ArchiveTexts;
  TInflater inflater(ZlibStreamWindow);
  std::uint64_t offset = 0, restored = 0;
  char header[ChunkHeaderSize];
  for (;;) {
    const size_t got = ReadFully(uz2, header, sizeof header);
    if (got == 0) return restored;
    const std::string at = std::to_string(offset);
    if (got < sizeof header) RefuseArchive(ChunkHeaderCut, {at});
    const std::uint32_t compressedSize = LoadLe32(header), originalSize = LoadLe32(header + 4);
    if (compressedSize == 0) RefuseArchive(ChunkWithoutCompressedBytes, {at});
    if (originalSize == 0) RefuseArchive(ChunkOfNoBytes, {at});
    if (originalSize > Uz2ChunkSize) RefuseArchive(ChunkTooLarge, {at, std::to_string(originalSize)});
    RefuseChunk(inflater.InflateExactly(uz2, compressedSize, originalSize, original), offset, originalSize);
    offset += sizeof header + compressedSize;
    restored += originalSize;
    if (originalSize < Uz2ChunkSize) {
      // A chunk that is not full ends the file: what follows is either a chunk too many or stray bytes.
      const size_t after = ReadFully(uz2, header, sizeof header);
      if (after == sizeof header) RefuseArchive(ShortChunkNotLast, {at});
      if (after > 0) RefuseArchive(BytesAfterLastChunk, {std::to_string(after)});
      return restored;
    }
  }
}

std::string OriginalNameOfUz2(std::string_view uz2Name) {
  if (uz2Name.size() <= Uz2Extension.size()) return {};
  const std::string_view base = uz2Name.substr(0, uz2Name.size() - Uz2Extension.size());
  if (!EqualsIgnoringAsciiCase(uz2Name.substr(base.size()), Uz2Extension)) return {};
  return std::string(base);
}
