// Writes the package contents fuzz target's seeds, small packages with objects from the test
// writer, into a folder:
//   clang++ -std=c++20 -I src -I tests tests/fuzz/make_contents_seeds.cpp -o build/make_contents_seeds \
//     && build/make_contents_seeds tests/fuzz/contents_corpus
#include <fstream>
#include <iostream>

#include "core/object_package_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_contents_seeds <folder>\n";
    return 2;
  }
  TObjectPackageWriter textures;
  const int32_t palette = textures.Palette("Colours", {0xFF1E140A, 0xFF3264C8});
  textures.Texture("Masked", TPropertyWriter(textures).Object("Palette", palette).Bool("bMasked", true),
                   {{4, 2, std::string(8, '\1')}, {2, 1, std::string(2, '\0')}});
  for (const uint8_t format : {3, 5, 7, 8, 9})
    textures.Texture(
        "F" + std::to_string(format), TPropertyWriter(textures).Byte("Format", format).Bool("bAlphaTexture", true),
        {{4, 4, std::string(format == 3 ? 8 : 16, '\x5A')}, {1, 1, std::string(format == 3 ? 8 : 16, '\xA5')}});

  TObjectPackageWriter map;
  const int32_t shot = map.Texture("Shot", TPropertyWriter(map).Byte("Format", 3), {{8, 4, std::string(16, '\x33')}});
  TPropertyWriter item(map);
  item.Object("Material", shot);
  const int32_t sequence = map.Export("MaterialSequence", "Sequence",
                                      TPropertyWriter(map).StructArray("SequenceItems", {item.Text()}).Text());
  const int32_t blend = map.Export("FinalBlend", "Blend", TPropertyWriter(map).Object("Material", sequence).Text());
  TPropertyWriter summary(map);
  summary.Str("Title", "Seed").Str("Author", "Fuzz").Int("IdealPlayerCountMin", 2).Int("IdealPlayerCountMax", 4);
  map.Export("LevelSummary", "LevelSummary", summary.Object("Screenshot", blend).Text(), 0x00070004);
  map.Export("LevelInfo", "LevelInfo0", std::string(14, '\0') + TPropertyWriter(map).Str("Title", "Actor").Text(),
             0x02070001);

  TObjectPackageWriter code;
  code.Export(0, "AClass", [](uint32_t) { return std::string(); });
  code.Export("StaticMesh", "Mesh", TPropertyWriter(code).Raw("Location", "Vector", std::string(12, '\0')).Text());

  const std::pair<const char*, const TObjectPackageWriter*> seeds[] = {
      {"textures", &textures}, {"map-with-sequence", &map}, {"classes-and-mesh", &code}};
  for (const auto& [name, package] : seeds) {
    std::ofstream file(std::string(argv[1]) + "/" + name, std::ios::binary);
    file << package->Build();
    if (!file) return 1;
  }
  return 0;
}
