#pragma once
// Packages with objects for tests, written from the format's own description independently of the
// reader: header, name table, the objects' data, import table, export table (the order the game
// saves them in), with tagged properties, textures with their mips, palettes and map summaries.
// The overrides make the malformed files a reader must refuse.
#include <functional>
#include <map>
#include <optional>

#include "core/package_builder.h"

class TObjectPackageWriter;

inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int byte : bytes) text += static_cast<char>(byte);
  return text;
}

// A tagged property list, ended by "None" in Text().
class TPropertyWriter {
public:
  explicit TPropertyWriter(TObjectPackageWriter& package) : package_(package) {}
  TPropertyWriter& Int(const std::string& name, int32_t value);
  TPropertyWriter& Byte(const std::string& name, uint8_t value);
  TPropertyWriter& Bool(const std::string& name, bool value);  // the value in the tag, as the game writes it
  TPropertyWriter& Object(const std::string& name, int32_t reference);
  TPropertyWriter& Str(const std::string& name, const std::string& text);
  // An array of structs, each a nested list (Text() of its writer, or anything else).
  TPropertyWriter& StructArray(const std::string& name, const std::vector<std::string>& elements);
  // A raw struct (Color, Vector) to be passed over, and an element other than the first.
  TPropertyWriter& Raw(const std::string& name, const std::string& structName, const std::string& bytes);
  TPropertyWriter& Element(const std::string& name, uint8_t index, int32_t value);
  std::string Text() const;
  std::string Unended() const { return bytes_; }

private:
  void Tag(const std::string& name, uint8_t type, const std::string& value, bool arrayBit = false);
  TObjectPackageWriter& package_;
  std::string bytes_;
};

struct TWrittenMip {
  int width = 0, height = 0;
  std::string data;
  std::optional<int64_t> length{};  // written in place of the data's length
};

class TObjectPackageWriter {
public:
  TIndexForm nameIndexForm = TIndexForm::Shortest;  // how the properties' names are written
  TPackageGuid guid = {0x3F2A9C0D, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3};

  int64_t Name(const std::string& name) {
    const auto [at, added] = nameIndexes_.emplace(name, names_.size());
    if (added) names_.push_back(name);
    return static_cast<int64_t>(at->second);
  }
  int32_t Import(const std::string& classPackage, const std::string& className, int32_t outer,
                 const std::string& name) {
    imports_.push_back({Name(classPackage), Name(className), outer, Name(name)});
    return -static_cast<int32_t>(imports_.size());
  }
  // The class as an import Engine.<name> (a class of the engine's package).
  int32_t Class(const std::string& name) {
    if (!classes_.count(name)) {
      if (!engine_) engine_ = Import("Core", "Package", 0, "Engine");
      classes_[name] = Import("Core", "Class", engine_, name);
    }
    return classes_[name];
  }
  // An export of a class (0: a class itself), its data made once its offset in the file is known.
  int32_t Export(int32_t classRef, const std::string& name, std::function<std::string(uint32_t offset)> body,
                 uint32_t flags = 0x000F0004) {
    exports_.push_back({classRef, Name(name), flags, std::move(body)});
    return static_cast<int32_t>(exports_.size());
  }
  int32_t Export(const std::string& className, const std::string& name, const std::string& body,
                 uint32_t flags = 0x000F0004) {
    return Export(Class(className), name, [body](uint32_t) { return body; }, flags);
  }
  // The data written at another place, or with another size, than it has.
  void MoveLastExport(std::optional<int64_t> offset, std::optional<int64_t> size) {
    exports_.back().offset = offset;
    exports_.back().size = size;
  }

  // A texture: its properties, then its mips, each with the offset just past its data.
  int32_t Texture(const std::string& name, const TPropertyWriter& properties, const std::vector<TWrittenMip>& mips,
                  std::optional<int64_t> mipCount = std::nullopt) {
    const std::string list = properties.Text();
    return Export(Class("Texture"), name, [=](uint32_t offset) {
      std::string body = list;
      AppendCompactIndex(body, mipCount.value_or(static_cast<int64_t>(mips.size())));
      for (const TWrittenMip& mip : mips) {
        std::string length;
        AppendCompactIndex(length, mip.length.value_or(static_cast<int64_t>(mip.data.size())));
        TPackageBuilder::AppendWord(body,
                                    static_cast<uint32_t>(offset + body.size() + 4 + length.size() + mip.data.size()));
        body += length + mip.data;
        TPackageBuilder::AppendWord(body, static_cast<uint32_t>(mip.width));
        TPackageBuilder::AppendWord(body, static_cast<uint32_t>(mip.height));
        body += std::string(2, '\x06');  // the logarithms, which the reader does not need
      }
      return body;
    });
  }
  // A palette of R, G, B, A colours.
  int32_t Palette(const std::string& name, const std::vector<uint32_t>& colours) {
    std::string body;
    AppendCompactIndex(body, Name("None"));
    AppendCompactIndex(body, static_cast<int64_t>(colours.size()));
    for (uint32_t colour : colours) TPackageBuilder::AppendWord(body, colour);  // R first: the lowest byte
    return Export("Palette", name, body, 0x00070004);
  }

  std::string Build() const {
    std::vector<std::string> names = names_;
    std::string nameTable;
    for (const std::string& name : names) {
      AppendCompactIndex(nameTable, static_cast<int64_t>(name.size() + 1));
      nameTable += name + '\0';
      TPackageBuilder::AppendWord(nameTable, 0x00070010);
    }
    const uint32_t namesAt = 36 + 20 + 8;
    std::string data;
    std::vector<std::pair<int64_t, int64_t>> places;
    for (const TWrittenExport& object : exports_) {
      const auto offset = static_cast<uint32_t>(namesAt + nameTable.size() + data.size());
      const std::string body = object.body(offset);
      places.emplace_back(object.offset.value_or(offset), object.size.value_or(static_cast<int64_t>(body.size())));
      data += body;
    }
    std::string importTable, exportTable;
    for (const TBuiltImportIndexes& import : imports_) {
      AppendCompactIndex(importTable, import.classPackage);
      AppendCompactIndex(importTable, import.className);
      TPackageBuilder::AppendWord(importTable, static_cast<uint32_t>(import.outer));
      AppendCompactIndex(importTable, import.name);
    }
    for (size_t i = 0; i < exports_.size(); ++i) {
      AppendCompactIndex(exportTable, exports_[i].classRef);
      AppendCompactIndex(exportTable, 0);  // no parent class
      TPackageBuilder::AppendWord(exportTable, 0);  // in no group
      AppendCompactIndex(exportTable, exports_[i].name);
      TPackageBuilder::AppendWord(exportTable, exports_[i].flags);
      AppendCompactIndex(exportTable, places[i].second);
      if (places[i].second > 0) AppendCompactIndex(exportTable, places[i].first);
    }
    const auto importsAt = static_cast<uint32_t>(namesAt + nameTable.size() + data.size());
    std::string file;
    for (uint32_t word : {0x9E2A83C1u, 128u | 29u << 16, 1u, static_cast<uint32_t>(names.size()), namesAt,
                          static_cast<uint32_t>(exports_.size()), static_cast<uint32_t>(importsAt + importTable.size()),
                          static_cast<uint32_t>(imports_.size()), importsAt, guid[0], guid[1], guid[2], guid[3], 1u,
                          static_cast<uint32_t>(exports_.size()), static_cast<uint32_t>(names.size())})
      TPackageBuilder::AppendWord(file, word);
    return file + nameTable + data + importTable + exportTable;
  }

private:
  struct TBuiltImportIndexes {
    int64_t classPackage, className;
    int32_t outer;
    int64_t name;
  };
  struct TWrittenExport {
    int32_t classRef;
    int64_t name;
    uint32_t flags;
    std::function<std::string(uint32_t)> body;
    std::optional<int64_t> offset{}, size{};
  };
  std::vector<std::string> names_ = {"None"};
  std::map<std::string, size_t> nameIndexes_ = {{"None", 0}};
  std::vector<TBuiltImportIndexes> imports_;
  std::vector<TWrittenExport> exports_;
  std::map<std::string, int32_t> classes_;
  int32_t engine_ = 0;
};

inline void TPropertyWriter::Tag(const std::string& name, uint8_t type, const std::string& value, bool arrayBit) {
  AppendCompactIndex(bytes_, package_.Name(name), package_.nameIndexForm);
  static const std::map<size_t, uint8_t> fixedSizes = {{1, 0}, {2, 1}, {4, 2}, {12, 3}, {16, 4}};
  const auto fixed = fixedSizes.find(value.size());
  const uint8_t sizeCode = type == 13 || fixed == fixedSizes.end() ? (value.size() < 256 ? 5 : 7) : fixed->second;
  bytes_ += static_cast<char>(type | sizeCode << 4 | (arrayBit ? 0x80 : 0));
  if (sizeCode == 5) bytes_ += static_cast<char>(value.size());
  if (sizeCode == 7) TPackageBuilder::AppendWord(bytes_, static_cast<uint32_t>(value.size()));
}

inline TPropertyWriter& TPropertyWriter::Int(const std::string& name, int32_t value) {
  std::string bytes;
  TPackageBuilder::AppendWord(bytes, static_cast<uint32_t>(value));
  Tag(name, 2, bytes);
  bytes_ += bytes;
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Byte(const std::string& name, uint8_t value) {
  Tag(name, 1, std::string(1, static_cast<char>(value)));
  bytes_ += static_cast<char>(value);
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Bool(const std::string& name, bool value) {
  AppendCompactIndex(bytes_, package_.Name(name), package_.nameIndexForm);
  bytes_ += value ? "\xD3" : "\x53";
  bytes_ += '\0';
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Object(const std::string& name, int32_t reference) {
  std::string value;
  AppendCompactIndex(value, reference);
  Tag(name, 5, value);
  bytes_ += value;
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Str(const std::string& name, const std::string& text) {
  std::string value;
  AppendCompactIndex(value, static_cast<int64_t>(text.size() + 1));
  value += text + '\0';
  Tag(name, 13, value);
  bytes_ += value;
  return *this;
}
inline TPropertyWriter& TPropertyWriter::StructArray(const std::string& name,
                                                     const std::vector<std::string>& elements) {
  std::string value;
  AppendCompactIndex(value, static_cast<int64_t>(elements.size()));
  for (const std::string& element : elements) value += element;
  Tag(name, 9, value);
  bytes_ += value;
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Raw(const std::string& name, const std::string& structName,
                                             const std::string& bytes) {
  std::string tag;
  Tag(name, 10, bytes);
  // The struct's name follows the info byte, before any size byte.
  const size_t infoEnd = bytes_.size() - (bytes.size() == 4 || bytes.size() == 12 ? 0 : 1);
  AppendCompactIndex(tag, package_.Name(structName));
  bytes_.insert(infoEnd, tag);
  bytes_ += bytes;
  return *this;
}
inline TPropertyWriter& TPropertyWriter::Element(const std::string& name, uint8_t index, int32_t value) {
  std::string bytes;
  TPackageBuilder::AppendWord(bytes, static_cast<uint32_t>(value));
  Tag(name, 2, bytes, true);
  bytes_ += static_cast<char>(index) + bytes;
  return *this;
}
inline std::string TPropertyWriter::Text() const {
  std::string text = bytes_;
  AppendCompactIndex(text, package_.Name("None"));
  return text;
}
