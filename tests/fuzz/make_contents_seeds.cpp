// Writes the package contents fuzz target's seeds, small packages with objects from the test
// writer, into a folder:
//   clang++ -std=c++20 -I src -I tests tests/fuzz/make_contents_seeds.cpp -o build/make_contents_seeds \
//     && build/make_contents_seeds tests/fuzz/contents_corpus
#include <fstream>

#include "core/object_package_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;  // make_contents_seeds <folder>
  TObjectPackageWriter textures;
  const int32_t palette = textures.Palette("Colours", {0xFF1E140A, 0xFF3264C8});
  textures.Texture("Masked", TPropertyWriter(textures).Object("Palette", palette).Bool("bMasked", true),
                   {{4, 2, std::string(8, '\1')}, {2, 1, std::string(2, '\0')}});
  for (const uint8_t format : {3, 5, 7, 8, 9})
    textures.Texture(
        "F" + std::to_string(format), TPropertyWriter(textures).Byte("Format", format).Bool("bAlphaTexture", true),
        {{4, 4, std::string(format == 3 ? 8 : 16, '\x5A')}, {1, 1, std::string(format == 3 ? 8 : 16, '\xA5')}});
  TObjectPackageWriter map, code;
  map.MapSummary("Seed", "A map to start from.", {8, 4, std::string(16, '\x33')});
  map.Export("FinalBlend", "Blend", TPropertyWriter(map).Object("Material", 1).Text());
  map.Export("LevelInfo", "LevelInfo0", std::string(14, '\0') + TPropertyWriter(map).Str("Title", "Actor").Text(),
             0x02070001);
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
