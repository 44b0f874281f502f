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

// Bytes of the values (each taken modulo 256), a compact index, a little-endian 32-bit word.
inline std::string Bytes(std::initializer_list<int> bytes) { return std::string(bytes.begin(), bytes.end()); }
inline std::string Compact(int64_t value) {
  std::string bytes;
  AppendCompactIndex(bytes, value);
  return bytes;
}
inline std::string Le32(int64_t value) { return Bytes({int(value), int(value >> 8), int(value >> 16), int(value >> 24)}); }

// A tagged property list, ended by "None" in Text().
class TPropertyWriter {
public:
  explicit TPropertyWriter(TObjectPackageWriter& package) : package_(package) {}
  TPropertyWriter& Int(const std::string& name, int32_t value) { return Value(name, 2, Le32(value)); }
  TPropertyWriter& Byte(const std::string& name, uint8_t value) { return Value(name, 1, std::string(1, char(value))); }
  // The value in the tag's array bit, and no value, as the game writes it.
  TPropertyWriter& Bool(const std::string& name, bool value) { return Value(name, 3, "", "", value); }
  TPropertyWriter& Object(const std::string& name, int32_t reference) { return Value(name, 5, Compact(reference)); }
  TPropertyWriter& Str(const std::string& name, const std::string& text) {
    return Value(name, 13, Compact(static_cast<int64_t>(text.size() + 1)) + text + '\0');
  }
  // An array of structs, each a nested list (Text() of its writer, or anything else).
  TPropertyWriter& StructArray(const std::string& name, const std::vector<std::string>& elements) {
    std::string value = Compact(static_cast<int64_t>(elements.size()));
    for (const std::string& element : elements) value += element;
    return Value(name, 9, value);
  }
  // A raw struct (Color, Vector) to be passed over, and an element other than the first.
  TPropertyWriter& Raw(const std::string& name, const std::string& structName, const std::string& bytes) {
    return Value(name, 10, bytes, structName);
  }
  TPropertyWriter& Element(const std::string& name, uint8_t index, int32_t value) {
    return Value(name, 2, Le32(value), "", index);
  }
  std::string Text() const;
  std::string Unended() const { return bytes_; }

private:
  TPropertyWriter& Value(const std::string& name, uint8_t type, const std::string& value,
                         const std::string& structName = "", uint8_t element = 0);
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
    if (!engine_) engine_ = Import("Core", "Package", 0, "Engine");
    if (!classes_.count(name)) classes_[name] = Import("Core", "Class", engine_, name);
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
      std::string body = list + Compact(mipCount.value_or(static_cast<int64_t>(mips.size())));
      for (const TWrittenMip& mip : mips) {
        const std::string length = Compact(mip.length.value_or(static_cast<int64_t>(mip.data.size())));
        body += Le32(offset + body.size() + 4 + length.size() + mip.data.size()) + length + mip.data;
        body += Le32(mip.width) + Le32(mip.height) + "\x06\x06";  // and the logarithms, which the reader skips
      }
      return body;
    });
  }
  // A palette of R, G, B, A colours.
  int32_t Palette(const std::string& name, const std::vector<uint32_t>& colours) {
    std::string body = Compact(Name("None")) + Compact(static_cast<int64_t>(colours.size()));
    for (uint32_t colour : colours) body += Le32(colour);  // R first: the lowest byte
    return Export("Palette", name, body, 0x00070004);
  }

  // A map's summary as the editor saves it: the title, an author, 6 to 10 players, the
  // description, and the screenshot (a DXT1 texture) behind a material sequence.
  void MapSummary(const std::string& title, const std::string& description, const TWrittenMip& screenshot) {
    TPropertyWriter item(*this), summary(*this);
    item.Object("Material", Texture("Shot", TPropertyWriter(*this).Byte("Format", 3), {screenshot}));
    const int32_t sequence =
        Export("MaterialSequence", "Shots", TPropertyWriter(*this).StructArray("SequenceItems", {item.Text()}).Text());
    summary.Str("Title", title).Str("Author", "Krow").Int("IdealPlayerCountMin", 6).Int("IdealPlayerCountMax", 10);
    summary.Str("Description", description).Object("Screenshot", sequence);
    Export("LevelSummary", "LevelSummary", summary.Text(), 0x00070004);
  }

  std::string Build() const {
    std::string nameTable;
    for (const std::string& name : names_)  // with the flags the game gives most names
      nameTable += Compact(static_cast<int64_t>(name.size() + 1)) + name + '\0' + Le32(0x00070010);
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
    for (const TBuiltImportIndexes& import : imports_)
      importTable +=
          Compact(import.classPackage) + Compact(import.className) + Le32(import.outer) + Compact(import.name);
    for (size_t i = 0; i < exports_.size(); ++i) {  // no parent class, in no group
      exportTable += Compact(exports_[i].classRef) + Compact(0) + Le32(0) + Compact(exports_[i].name) +
                     Le32(exports_[i].flags) + Compact(places[i].second);
      if (places[i].second > 0) exportTable += Compact(places[i].first);
    }
    const auto importsAt = static_cast<uint32_t>(namesAt + nameTable.size() + data.size());
    std::string file;
    for (int64_t word : {int64_t{0x9E2A83C1}, int64_t{128 | 29 << 16}, int64_t{1}, int64_t(names_.size()),
                         int64_t{namesAt}, int64_t(exports_.size()), int64_t(importsAt + importTable.size()),
                         int64_t(imports_.size()), int64_t{importsAt}, int64_t{guid[0]}, int64_t{guid[1]},
                         int64_t{guid[2]}, int64_t{guid[3]}, int64_t{1}, int64_t(exports_.size()),
                         int64_t(names_.size())})
      file += Le32(word);
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

// The name, the info byte (type, size code, array bit), a struct's name, the size as the size code
// leaves it to follow, an element's index other than 0 (a bool's value), the value. A string's
// size always follows.
inline TPropertyWriter& TPropertyWriter::Value(const std::string& name, uint8_t type, const std::string& value,
                                              const std::string& structName, uint8_t element) {
  AppendCompactIndex(bytes_, package_.Name(name), package_.nameIndexForm);
  static const std::map<size_t, uint8_t> fixedSizes = {{1, 0}, {2, 1}, {4, 2}, {12, 3}, {16, 4}};
  const auto fixed = fixedSizes.find(value.size());
  const uint8_t sizeCode = type == 13 || fixed == fixedSizes.end() ? (value.size() < 256 ? 5 : 7) : fixed->second;
  bytes_ += static_cast<char>(type | sizeCode << 4 | (element ? 0x80 : 0));
  if (type == 10) AppendCompactIndex(bytes_, package_.Name(structName));
  if (sizeCode == 5) bytes_ += static_cast<char>(value.size());
  if (sizeCode == 7) bytes_ += Le32(static_cast<int64_t>(value.size()));
  if (element && type != 3) bytes_ += static_cast<char>(element);
  bytes_ += value;
  return *this;
}
inline std::string TPropertyWriter::Text() const {
  std::string text = bytes_;
  AppendCompactIndex(text, package_.Name("None"));
  return text;
}
