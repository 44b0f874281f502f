// What a package holds, read as the details read it: the summary and screenshot of a map of
// 20 MiB, with the bytes that costs; the thumbnails of a texture package of 500 textures; and the
// peak working set of reading a map of 20 MiB against one of 100 MiB, each in a process of its own.
#include <windows.h>

#include <cstdio>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/object_package_writer.h"
#include "job/package_preview.h"
#include "ui/package_details_dialog.h"
#include "win/file_streams.h"

namespace {

constexpr size_t Meshes = 4000;

// A map of about `bytes`: 4,000 meshes (a name and an export each, so that its tables are the
// same whatever its size), its summary and a screenshot of 512 by 256 in DXT1 behind a material
// sequence, as the editor saves it.
std::string MapPayload(size_t bytes) {
  TObjectPackageWriter map;
  for (size_t i = 0; i < Meshes; ++i)
    map.Export("StaticMesh", "Mesh" + std::to_string(i), std::string(bytes / Meshes, 'm'));
  map.MapSummary("Bench", "A map of the benchmark.", {512, 256, std::string(65536, '\x5A')});
  return map.Build();
}

// 500 textures with all their mips: half 256 by 256 in DXT1, half masked palette pictures of 128
// by 128, each with its palette.
std::string TexturePayload() {
  TObjectPackageWriter package;
  for (int i = 0; i < 500; ++i) {
    const bool palette = i % 2 != 0;
    std::vector<TWrittenMip> mips;
    for (int side = palette ? 128 : 256; side >= 1; side /= 2)
      mips.push_back(
          {side, side, std::string(palette ? side * side : std::max(side / 4, 1) * std::max(side / 4, 1) * 8, 'p')});
    TPropertyWriter properties(package);
    if (palette)
      properties.Object("Palette", package.Palette("Pal" + std::to_string(i), std::vector<uint32_t>(256, 0xFF336699u)))
          .Bool("bMasked", true);
    else
      properties.Byte("Format", 3);
    package.Texture("Tex" + std::to_string(i), properties, mips);
  }
  return package.Build();
}

TPreviewRequest Written(const std::string& path, const std::string& bytes, TPackageKind kind) {
  WriteFileBytes(path, bytes);
  return {path, path, kind};
}

}  // namespace

int PreviewMemory(const std::string& path) {
  ReadPreview({path, path, pkMap}, DetailsContentsLimits);
  std::printf("%zu\n", PeakWorkingSet());
  return 0;
}

void PreviewSection(TReport& report, const std::string& game, bool quick) {
  const TPreviewRequest map = Written(game + "DM-Bench.uxx", MapPayload(20 << 20), pkMap);
  TPackageContents contents;
  const double mapSeconds = MedianSeconds(5, {}, [&] { contents = ReadPreview(map, DetailsContentsLimits); });
  TFileSource source(map.payloadPath, "");
  ReadPackageContents(source, pkMap, DetailsContentsLimits);
  if (contents.screenshot.picture.width != 512) std::fprintf(stderr, "warning: no screenshot read\n");
  report.Add("preview", "map of 20 MiB: summary and 512x256 DXT1 screenshot", mapSeconds, "s");
  report.Add("preview", "map of 20 MiB: bytes read", static_cast<double>(source.BytesRead()), "bytes");

  const TPreviewRequest textures = Written(game + "Textures.uxx", TexturePayload(), pkTexture);
  const double detailsSeconds = MedianSeconds(5, {}, [&] { contents = ReadPreview(textures, DetailsContentsLimits); });
  if (contents.thumbnails.size() + contents.moreTextures != 500) std::fprintf(stderr, "warning: textures missing\n");
  report.Add("preview", "500 textures: 200 thumbnails for the details", detailsSeconds, "s");
  report.Add("preview", "500 textures: 12 thumbnails for the pane",
             MedianSeconds(5, {}, [&] { ReadPreview(textures, PaneContentsLimits); }), "s");

  // The peak in a process of its own per payload size: it stays the same.
  for (const size_t mib : {size_t{20}, quick ? size_t{40} : size_t{100}}) {
    const std::string path = game + "DM-Memory" + std::to_string(mib) + ".uxx";
    if (mib != 20) WriteFileBytes(path, MapPayload(mib << 20));
    const double peak = ChildPeakMiB("--preview-memory \"" + (mib == 20 ? map.payloadPath : path) + "\"");
    if (peak >= 0) report.Add("preview", "map of " + std::to_string(mib) + " MiB: peak working set", peak, "MiB");
  }
}
