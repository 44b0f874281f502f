#include "core/package_objects.h"

#include <algorithm>

#include "core/text_rules.h"

namespace {

// Actors are saved with their state: the frame comes before their properties.
constexpr uint32_t HasStackFlag = 0x02000000;
constexpr uint8_t StructType = 10;
constexpr uint8_t BoolType = 3;
// Far more than any class has; a list beyond it is no property list.
constexpr size_t MaxProperties = 1024;
// A string is read no further: what is shown of it is much shorter.
constexpr uint64_t MaxStringBytes = 4096;
// Groups nest a few deep; a chain of outers longer than this loops.
constexpr int MaxOuterSteps = 64;

bool IsNone(std::string_view name) { return EqualsIgnoringAsciiCase(name, "None"); }

uint32_t PropertySize(TFileCursor& cursor, uint8_t sizeCode) {
  static constexpr uint32_t FixedSizes[] = {1, 2, 4, 12, 16};
  switch (sizeCode) {
    case 5: return cursor.Byte();
    case 6: return cursor.Half();
    case 7: {
      const auto size = static_cast<int32_t>(cursor.Word());
      if (size < 0) Refuse(TPackageFault::BadProperty);
      return static_cast<uint32_t>(size);
    }
    default: return FixedSizes[sizeCode];
  }
}

// An element's index: one byte below 0x80, two bytes from 10xxxxxx on, else four.
uint32_t ArrayIndexAt(TFileCursor& cursor) {
  const uint8_t first = cursor.Byte();
  if (first < 0x80) return first;
  if ((first & 0xC0) == 0x80) return (first & 0x7Fu) << 8 | cursor.Byte();
  uint32_t index = first & 0x3Fu;
  for (int i = 0; i < 3; ++i) index = index << 8 | cursor.Byte();
  return index;
}

}  // namespace

const TPropertyTag* TPropertyTags::Find(std::string_view name, TPropertyType type) const {
  for (const TPropertyTag& tag : tags)
    if (tag.type == static_cast<uint8_t>(type) && EqualsIgnoringAsciiCase((*names)[tag.name], name)) return &tag;
  return nullptr;
}

TPackageObjects::TPackageObjects(IRandomAccessSource& source)
    : source_(source), layout_(ReadPackageLayout(source)), names_(TNameTable::Read(source, layout_)),
      imports_(ReadImportTable(source, layout_, names_)) {}

void TPackageObjects::ReadExportTable() {
  TFileCursor cursor(source_, layout_.size, layout_.exports.offset);
  for (uint32_t i = 0; i < layout_.exports.count; ++i) {
    TPackageExport& object = exports_.emplace_back();
    object.classRef = cursor.CompactIndex();
    cursor.CompactIndex();  // the parent class
    cursor.Word();          // what the object lies in
    object.name = NameIndexAt(cursor, names_);
    object.flags = cursor.Word();
    const int32_t size = cursor.CompactIndex();
    // The offset is stored only for an object with data.
    const int32_t offset = size > 0 ? cursor.CompactIndex() : 0;
    if (size < 0 || offset < 0 || static_cast<uint64_t>(offset) + static_cast<uint64_t>(size) > layout_.size)
      Refuse(TPackageFault::ObjectOutsideFile);
    object.serialSize = static_cast<uint32_t>(size);
    object.serialOffset = static_cast<uint32_t>(offset);
  }
}

const TPackageExport& TPackageObjects::ExportOf(int32_t reference) const {
  if (reference <= 0 || static_cast<size_t>(reference) > exports_.size()) Refuse(TPackageFault::ObjectIndexOutOfRange);
  return exports_[static_cast<size_t>(reference) - 1];
}

const TPackageImport& TPackageObjects::ImportOf(int32_t reference) const {
  if (reference >= 0 || static_cast<size_t>(-static_cast<int64_t>(reference)) > imports_.size())
    Refuse(TPackageFault::ObjectIndexOutOfRange);
  return imports_[static_cast<size_t>(-static_cast<int64_t>(reference)) - 1];
}

std::string_view TPackageObjects::ClassNameOf(const TPackageExport& object) const {
  if (object.classRef == 0) return "Class";
  if (object.classRef < 0) return names_[ImportOf(object.classRef).objectName];
  return names_[ExportOf(object.classRef).name];
}

std::string_view TPackageObjects::OuterPackageOf(int32_t importReference) const {
  const TPackageImport* import = &ImportOf(importReference);
  for (int step = 0; import->outer < 0 && step < MaxOuterSteps; ++step) import = &ImportOf(import->outer);
  return names_[import->objectName];
}

TFileCursor TPackageObjects::OpenObject(const TPackageExport& object) const {
  TFileCursor cursor(source_, uint64_t{object.serialOffset} + object.serialSize, object.serialOffset,
                     TPackageFault::ObjectOverrun);
  if (object.flags & HasStackFlag) {
    const int32_t node = cursor.CompactIndex();
    cursor.CompactIndex();  // the state's node
    cursor.Skip(8 + 4);     // the probe mask, the latent action
    if (node != 0) cursor.CompactIndex();  // where in the code the state stands
  }
  return cursor;
}

TPropertyTags TPackageObjects::ReadProperties(TFileCursor& cursor,
                                              std::initializer_list<std::string_view> wanted) const {
  TPropertyTags found;
  found.names = &names_;
  for (size_t count = 0;; ++count) {
    if (count > MaxProperties) Refuse(TPackageFault::BadProperty);
    TPropertyTag tag;
    tag.name = NameIndexAt(cursor, names_);
    const std::string_view name = names_[tag.name];
    if (IsNone(name)) return found;
    const uint8_t info = cursor.Byte();
    tag.type = info & 0x0F;
    const bool arrayBit = (info & 0x80) != 0;
    if (tag.type == StructType) NameIndexAt(cursor, names_);  // the struct's name
    tag.size = PropertySize(cursor, (info >> 4) & 7);
    uint32_t element = 0;
    if (tag.type == BoolType)
      tag.boolValue = arrayBit;
    else if (arrayBit)
      element = ArrayIndexAt(cursor);
    tag.valueOffset = cursor.Position();
    cursor.Skip(tag.size);
    const bool isWanted = std::any_of(wanted.begin(), wanted.end(),
                                      [&](std::string_view w) { return EqualsIgnoringAsciiCase(w, name); });
    if (isWanted && element == 0 && !found.Find(name, static_cast<TPropertyType>(tag.type))) found.tags.push_back(tag);
  }
}

TFileCursor TPackageObjects::ValueCursor(const TPropertyTag& tag) const {
  return TFileCursor(source_, tag.valueOffset + tag.size, tag.valueOffset, TPackageFault::BadProperty);
}

int32_t TPackageObjects::IntValue(const TPropertyTag& tag) const {
  return static_cast<int32_t>(ValueCursor(tag).Word());
}

uint8_t TPackageObjects::ByteValue(const TPropertyTag& tag) const { return ValueCursor(tag).Byte(); }

int32_t TPackageObjects::ObjectValue(const TPropertyTag& tag) const { return ValueCursor(tag).CompactIndex(); }

std::string TPackageObjects::StringValue(const TPropertyTag& tag) const {
  TFileCursor cursor = ValueCursor(tag);
  const int32_t length = cursor.CompactIndex();  // counts the zero; negative for wide characters
  std::string text;
  if (length > 0) {
    if (static_cast<uint64_t>(length) > cursor.Remaining()) Refuse(TPackageFault::BadProperty);
    cursor.AppendBytes(std::min<uint64_t>(static_cast<uint64_t>(length), MaxStringBytes), text);
  } else if (length < 0) {
    const uint64_t units = static_cast<uint64_t>(-static_cast<int64_t>(length));
    if (units > cursor.Remaining() / 2) Refuse(TPackageFault::BadProperty);
    for (uint64_t i = 0; i < std::min(units, MaxStringBytes); ++i) {
      const uint16_t unit = cursor.Half();
      text += unit < 256 ? static_cast<char>(unit) : '?';
    }
  }
  return text.substr(0, text.find('\0'));
}

std::optional<TPropertyTags> TPackageObjects::FirstStructOf(const TPropertyTag& tag,
                                                            std::initializer_list<std::string_view> wanted) const {
  TFileCursor cursor = ValueCursor(tag);
  if (cursor.CompactIndex() <= 0) return std::nullopt;
  return ReadProperties(cursor, wanted);
}
