#pragma once
// A package's objects: the export table, and one object's tagged properties read from its data.
// Only the tables and the objects asked for are read, each through a cursor that stops at the
// object's end; every count, offset and size is checked against the file and the object first.
// Faults end the reading by TFaultFound (package_reading.h), caught by the caller.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/package_reading.h"

// An export: its class (0: the export is a class; -n import n-1; +n export n-1), its name, flags,
// and where its data stands.
struct TPackageExport {
  int32_t classRef = 0;
  uint32_t name = 0, flags = 0;
  uint32_t serialSize = 0, serialOffset = 0;  // inside the file
};

// A property's tag as the list stores it: the value itself stays in the file until asked for.
struct TPropertyTag {
  uint32_t name = 0;
  uint8_t type = 0;
  bool boolValue = false;  // a bool's value is in its tag
  uint32_t size = 0;
  uint64_t valueOffset = 0;
};

// The property types this reader takes values of.
enum class TPropertyType : uint8_t { Byte = 1, Int = 2, Bool = 3, Object = 5, Array = 9, Str = 13 };

// The properties of one object that were asked for, each its first element (array index 0).
class TPropertyTags {
public:
  const TPropertyTag* Find(std::string_view name, TPropertyType type) const;
  std::vector<TPropertyTag> tags;
  const TNameTable* names = nullptr;
};

class TPackageObjects {
public:
  // Reads the header, the name and import tables: what the header reader reads as well.
  explicit TPackageObjects(IRandomAccessSource& source);
  // Reads the export table.
  void ReadExportTable();

  const TNameTable& Names() const { return names_; }
  const std::vector<TPackageExport>& Exports() const { return exports_; }
  // The export or import a reference (+n, -n) names; refuses one the tables do not have.
  const TPackageExport& ExportOf(int32_t reference) const;
  const TPackageImport& ImportOf(int32_t reference) const;
  // The class name of an export: "Class" for a class itself.
  std::string_view ClassNameOf(const TPackageExport& object) const;
  // The package an import lies in at the top: the import itself when it has no outer.
  std::string_view OuterPackageOf(int32_t importReference) const;

  // A cursor over an object's data, past the state frame that objects with a stack begin with.
  TFileCursor OpenObject(const TPackageExport& object) const;
  // Reads the tagged property list at the cursor up to its end ("None"), keeping the first tag
  // of each wanted name (letter case ignored); the cursor then stands after the list.
  TPropertyTags ReadProperties(TFileCursor& cursor, std::initializer_list<std::string_view> wanted) const;

  int32_t IntValue(const TPropertyTag& tag) const;
  uint8_t ByteValue(const TPropertyTag& tag) const;
  int32_t ObjectValue(const TPropertyTag& tag) const;
  // A string's bytes as stored (Latin-1; a wide one's characters beyond it as '?'), without its zero.
  std::string StringValue(const TPropertyTag& tag) const;
  // The wanted properties of an array's first element, whose elements are structs of tagged
  // properties; nothing when the array is empty.
  std::optional<TPropertyTags> FirstStructOf(const TPropertyTag& tag,
                                             std::initializer_list<std::string_view> wanted) const;

  IRandomAccessSource& Source() const { return source_; }

private:
  TFileCursor ValueCursor(const TPropertyTag& tag) const;

  IRandomAccessSource& source_;
  TPackageLayout layout_;
  TNameTable names_;
  std::vector<TPackageImport> imports_;
  std::vector<TPackageExport> exports_;
};
