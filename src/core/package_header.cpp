#include "core/package_header.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "core/package_reading.h"
#include "core/package_texts.h"

namespace {

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Package names compared as the Windows file system compares them (a..z only).
struct TFoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return FoldCase(x) == FoldCase(y);
           });
  }
};
struct TFoldedHash {
  size_t operator()(std::string_view s) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (const char c : s) hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    return static_cast<size_t>(hash);
  }
};

// A package the package needs is an import of class "Package" with no outer; one inside another
// (a group) is part of that package.
std::vector<std::string> NeededPackagesOf(const std::vector<TPackageImport>& imports, const TNameTable& names) {
  std::vector<std::string> needed;
  std::unordered_set<std::string_view, TFoldedHash, TFoldedEqual> seen;
  for (const TPackageImport& import : imports) {
    const std::string_view objectName = names[import.objectName];
    if (import.outer == 0 && TFoldedEqual()(names[import.className], "Package") && seen.insert(objectName).second)
      needed.emplace_back(objectName);
  }
  return needed;
}

TPackageHeader ReadHeaderAndTables(IRandomAccessSource& source) {
  TPackageLayout layout = ReadPackageLayout(source);
  const TNameTable names = TNameTable::Read(source, layout);
  layout.header.neededPackages = NeededPackagesOf(ReadImportTable(source, layout, names), names);
  return std::move(layout.header);
}

}  // namespace

TPackageReading ReadPackageHeader(IRandomAccessSource& source) {
  try {
    return {TPackageFault::None, ReadHeaderAndTables(source)};
  } catch (const TFaultFound& found) {
    return {found.fault, {}};
  }
}

const char* PackageFaultText(TPackageFault fault) {
  switch (fault) {
    case TPackageFault::None: return "";
    case TPackageFault::NotAPackage: return NotAPackageText;
    case TPackageFault::Truncated: return PackageTruncatedText;
    case TPackageFault::OutsideFile: return PackageOutsideFileText;
    case TPackageFault::NameLongerThanFile: return PackageNameLongerThanFileText;
    case TPackageFault::BadCompactIndex: return PackageBadCompactIndexText;
    case TPackageFault::NameIndexOutOfRange: return PackageNameIndexText;
    case TPackageFault::BadName: return PackageBadNameText;
    case TPackageFault::TooManyEntries: return PackageTooManyEntriesText;
    case TPackageFault::NameTooLong: return PackageNameTooLongText;
    case TPackageFault::ObjectOutsideFile: return PackageObjectOutsideFileText;
    case TPackageFault::ObjectOverrun: return PackageObjectOverrunText;
    case TPackageFault::ObjectIndexOutOfRange: return PackageObjectIndexText;
    case TPackageFault::BadProperty: return PackageBadPropertyText;
    case TPackageFault::BadMips: return PackageBadMipsText;
  }
  return "";
}

std::string GuidKeyText(const TPackageGuid& guid) {
  char text[4 * 8 + 1];
  std::snprintf(text, sizeof text, "%08X%08X%08X%08X", static_cast<unsigned>(guid[0]), static_cast<unsigned>(guid[1]),
                static_cast<unsigned>(guid[2]), static_cast<unsigned>(guid[3]));
  return text;
}

bool CacheKeyMatchesGuid(std::string_view key, const TPackageGuid& guid) {
  const size_t dash = key.rfind('-');
  if (dash == std::string_view::npos) return false;
  const std::string_view number = key.substr(dash + 1);
  return !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         key.substr(0, dash) == GuidKeyText(guid);
}
