// Fuzz target for the reader of a package's objects: any bytes as a cached map, texture package
// or other package. The reader must never read outside the file, read without bound, or hold
// memory beyond a small multiple of the file's size; its texts must be fit to show and its
// pictures no larger than their box.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/package_contents.h"
#include "fuzz/package_fuzz_support.h"

namespace {

constexpr TContentsLimits Limits{{{32, 16}, false}, {{8, 8}, true}, 4};

void CheckShown(const std::string& text) {
  for (const char c : text) Check(static_cast<unsigned char>(c) >= 32 && c != 127);
  Check(text.size() <= 700);
}

void CheckPicture(const TPictureReading& reading, TPixelSize box) {
  const TPicture& picture = reading.picture;
  Check(picture.pixels.size() == static_cast<size_t>(picture.width) * picture.height);
  Check(picture.width <= box.Width && picture.height <= box.Height);
  Check((reading.absence == TPictureAbsence::None) == (picture.width > 0));
  for (const uint32_t pixel : picture.pixels) Check(pixel >> 24 == 0xFF);  // laid over the checkerboard
  CheckShown(PictureAbsenceText(reading));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const TPackageKind kind : {pkMap, pkTexture, pkMutator}) {
    TMemoryByteSource source{std::string(bytes)};
    TPackageContents contents;
    const int64_t mostHeld = MostHeldBy([&] { contents = ReadPackageContents(source, kind, Limits); });
    // The tables once each, and a few objects, each read no further than its end.
    Check(source.bytesRead <= 64 * size + 65536);
    Check(mostHeld <= static_cast<int64_t>(64 * size + 65536));
    Check(contents.failure.empty() || contents.lines.empty());
    for (const std::string& line : contents.lines) CheckShown(line);
    CheckShown(contents.failure);
    if (kind == pkMap) CheckPicture(contents.screenshot, Limits.screenshot.size);
    Check(contents.thumbnails.size() <= Limits.thumbnails);
    for (const TNamedPicture& thumbnail : contents.thumbnails) {
      CheckShown(thumbnail.name);
      CheckPicture(thumbnail.picture, Limits.thumbnail.size);
    }
  }
  return 0;
}
