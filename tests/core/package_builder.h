#pragma once
// Package files for tests, written from the format's own description independently of the reader:
// header, generations, name table, filler where the exports' data would stand, import table. The
// corruptions make the malformed files a reader must refuse.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/package_header.h"

struct TBuiltImport {
  std::string classPackage;
  std::string className;
  int32_t outer = 0;  // 0 none, -n-1 import n, n+1 export n
  std::string objectName;
};

// Imports that need packages: for each one a package import and a class import inside it, then a
// group inside the first package and a texture inside the group, which need nothing more.
inline std::vector<TBuiltImport> ImportsNeeding(const std::vector<std::string>& packages) {
  std::vector<TBuiltImport> imports;
  for (const std::string& package : packages) {
    const auto packageImport = static_cast<int32_t>(imports.size());
    imports.push_back({"Core", "Package", 0, package});
    imports.push_back({"Core", "Class", -packageImport - 1, package + "Actor"});
  }
  if (!packages.empty()) {
    imports.push_back({"Core", "Package", -1, "Group"});
    imports.push_back({"Engine", "Texture", -static_cast<int32_t>(imports.size()), "Wall"});
  }
  return imports;
}

// How the imports' name indexes are written; FiveBytesTooLarge adds 2^31, beyond a signed 32-bit number.
enum class TIndexForm { Shortest, FiveBytes, FiveBytesTooLarge };

// Writes a compact index: sign, "more" and 6 bits; up to three bytes of "more" and 7 bits; a fifth
// byte of 8 bits. FiveBytes pads small values to five bytes, as the game's reader accepts.
inline void AppendCompactIndex(std::string& out, int64_t value, TIndexForm form = TIndexForm::Shortest) {
  uint64_t rest = static_cast<uint64_t>(value < 0 ? -value : value);
  if (form == TIndexForm::FiveBytesTooLarge) rest |= uint64_t{1} << 31;
  const bool padded = form != TIndexForm::Shortest;
  unsigned char byte = static_cast<unsigned char>((value < 0 ? 0x80 : 0) | (rest & 0x3F));
  rest >>= 6;
  for (int written = 1; written < 5 && (rest > 0 || padded); ++written) {
    out += static_cast<char>(byte | (written == 1 ? 0x40 : 0x80));
    byte = static_cast<unsigned char>(written == 4 ? rest : rest & 0x7F);
    rest >>= written == 4 ? 8 : 7;
  }
  out += static_cast<char>(byte);
}

struct TPackageBuilder {
  uint16_t version = 128;
  uint16_t licensee = 0;
  uint32_t flags = 1;
  TPackageGuid guid = {0x3F2A9C0D, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3};
  std::vector<TPackageGeneration> generations = {{0, 0}};
  std::vector<TBuiltImport> imports{};
  std::vector<std::string> extraNames{};  // after "None", before the imports' names
  size_t fillerBytes = 16;              // the exports' data, between the name and the import table
  // Corruptions.
  uint32_t signature = 0x9E2A83C1;
  std::optional<uint32_t> nameCount{}, importCount{}, importOffset{}, exportCount{}, generationCount{};
  std::optional<int64_t> firstNameLength{};  // the length written for "None", which counts its zero
  TIndexForm indexForm = TIndexForm::Shortest;
  size_t cutBytes = 0;  // taken off the end
  uint64_t zerosAfter = 0;  // zero bytes that follow in the file, as a sparse file holds them for nothing

  std::string Build() const {
    std::vector<std::string> names = {"None"};
    names.insert(names.end(), extraNames.begin(), extraNames.end());
    auto indexOf = [&names](const std::string& name) {
      for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int64_t>(i);
      names.push_back(name);
      return static_cast<int64_t>(names.size() - 1);
    };
    std::string importTable;
    for (const TBuiltImport& import : imports) {
      AppendCompactIndex(importTable, indexOf(import.classPackage), indexForm);
      AppendCompactIndex(importTable, indexOf(import.className), indexForm);
      AppendWord(importTable, static_cast<uint32_t>(import.outer));
      AppendCompactIndex(importTable, indexOf(import.objectName), indexForm);
    }
    std::string nameTable;
    for (const std::string& name : names) {
      if (version < 64) {
        nameTable += name + '\0';
      } else {
        AppendCompactIndex(nameTable, nameTable.empty() && firstNameLength ? *firstNameLength
                                                                           : static_cast<int64_t>(name.size() + 1));
        nameTable += name + '\0';
      }
      AppendWord(nameTable, 0x00070010);  // the flags the game gives most names
    }
    const size_t headerBytes = 36 + (version >= 68 ? 20 + 8 * generations.size() : 0);
    const size_t importStart = headerBytes + nameTable.size() + fillerBytes;
    std::string file;
    for (uint32_t word : {signature, uint32_t{version} | uint32_t{licensee} << 16, flags,
                          nameCount.value_or(static_cast<uint32_t>(names.size())), static_cast<uint32_t>(headerBytes),
                          exportCount.value_or(0), static_cast<uint32_t>(importStart),
                          importCount.value_or(static_cast<uint32_t>(imports.size())),
                          importOffset.value_or(static_cast<uint32_t>(importStart))})
      AppendWord(file, word);
    if (version >= 68) {
      for (uint32_t word : guid) AppendWord(file, word);
      AppendWord(file, generationCount.value_or(static_cast<uint32_t>(generations.size())));
      for (const TPackageGeneration& generation : generations) {
        AppendWord(file, generation.exportCount);
        AppendWord(file, generation.nameCount);
      }
    }
    file += nameTable + std::string(fillerBytes, '\xEE') + importTable;
    if (cutBytes > file.size()) throw std::invalid_argument("cut beyond the package");
    file.resize(file.size() - cutBytes);
    return file;
  }

  static void AppendWord(std::string& out, uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(word >> shift & 0xFF);
  }
};

// A package's bytes in memory, and zeros after them, counting what is read and failing any read
// outside them.
class TMemoryByteSource : public IRandomAccessSource {
public:
  explicit TMemoryByteSource(std::string bytes, uint64_t zerosAfter = 0)
      : bytes_(std::move(bytes)), size_(bytes_.size() + zerosAfter) {}
  uint64_t Size() override { return size_; }
  size_t ReadAt(uint64_t offset, char* buffer, size_t n) override {
    if (offset > size_ || n > size_ - offset) throw std::out_of_range("read beyond the package");
    const size_t copied = offset < bytes_.size() ? bytes_.copy(buffer, n, static_cast<size_t>(offset)) : 0;
    std::fill(buffer + copied, buffer + n, '\0');
    bytesRead += n;
    return n;
  }
  uint64_t bytesRead = 0;

private:
  std::string bytes_;
  uint64_t size_;
};
