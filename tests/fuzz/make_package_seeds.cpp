// Writes the package fuzz target's seeds, small packages from the test builder, into a folder:
//   clang++ -std=c++20 -I src -I tests tests/fuzz/make_package_seeds.cpp src/core/package_header.cpp \
//     -o build/make_package_seeds && build/make_package_seeds tests/fuzz/package_corpus
#include <fstream>
#include <iostream>

#include "core/package_builder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_package_seeds <folder>\n";
    return 2;
  }
  const auto needing = ImportsNeeding({"MapTex", "Engine"});
  const std::pair<const char*, TPackageBuilder> seeds[] = {
      {"map-v128", {.imports = needing, .fillerBytes = 0}},
      {"no-guid-v67", {.version = 67, .imports = needing, .fillerBytes = 0}},
      {"unprefixed-names-v62", {.version = 62, .imports = needing, .fillerBytes = 0}},
      {"five-byte-indexes", {.imports = needing, .fillerBytes = 0, .indexForm = TIndexForm::FiveBytes}},
  };
  for (const auto& [name, package] : seeds) {
    std::ofstream file(std::string(argv[1]) + "/" + name, std::ios::binary);
    file << package.Build();
    if (!file) return 1;
  }
  return 0;
}
