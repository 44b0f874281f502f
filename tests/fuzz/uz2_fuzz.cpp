// Fuzz target for .uz2 files. The first byte sets how many bytes each read hands out; the rest is
// the file. The streaming reader must accept exactly what a naive reader of the whole file with
// zlib's uncompress() accepts and restore the same bytes; the input itself, as an original, must
// round trip through the writer.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/archive_error.h"
#include "core/memory_streams.h"
#include "core/uz2.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::uint32_t Le32At(std::string_view s, size_t at) {
  return std::uint8_t(s[at]) | std::uint8_t(s[at + 1]) << 8 | std::uint8_t(s[at + 2]) << 16 |
         std::uint32_t(std::uint8_t(s[at + 3])) << 24;
}

// Naive model: each chunk decoded whole, which must use every compressed byte and give exactly
// the count claimed; full chunks until the last.
std::optional<std::string> ModelRead(std::string_view uz2) {
  std::string original;
  for (size_t at = 0; at < uz2.size();) {
    if (uz2.size() - at < 8) return std::nullopt;
    const std::uint32_t compressedSize = Le32At(uz2, at), originalSize = Le32At(uz2, at + 4);
    if (compressedSize == 0 || originalSize == 0 || originalSize > Uz2ChunkSize || compressedSize > uz2.size() - at - 8)
      return std::nullopt;
    std::string chunk(originalSize, '\0');
    uLongf made = originalSize;
    uLong used = compressedSize;
    if (uncompress2(reinterpret_cast<Bytef*>(chunk.data()), &made, reinterpret_cast<const Bytef*>(uz2.data() + at + 8),
                    &used) != Z_OK ||
        made != originalSize || used != compressedSize)
      return std::nullopt;
    original += chunk;
    at += 8 + compressedSize;
    if (originalSize < Uz2ChunkSize && at != uz2.size()) return std::nullopt;
  }
  return original;
}

void CheckRoundTrip(std::string_view original, size_t piece) {
  TMemorySource source(original, piece);
  TMemorySink uz2;
  Check(WriteUz2(source, uz2) == uz2.bytes.size());
  Check(ModelRead(uz2.bytes) == std::string(original));
  TMemorySource written(uz2.bytes, piece);
  TMemorySink restored;
  ReadUz2(written, restored);
  Check(restored.bytes == original);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] == 0xFF ? SIZE_MAX : data[0] + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  TMemorySource source(bytes, piece);
  TMemorySink restored;
  bool accepted = true;
  try {
    Check(ReadUz2(source, restored) == restored.bytes.size());
  } catch (const EArchiveError&) {
    accepted = false;
  }
  const std::optional<std::string> model = ModelRead(bytes);
  Check(accepted == model.has_value());
  if (accepted) Check(restored.bytes == *model);
  CheckRoundTrip(bytes, piece);
  return 0;
}
