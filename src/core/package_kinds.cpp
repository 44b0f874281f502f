#include "core/package_kinds.h"

#include <cstdio>

const std::array<const char*, 9> KindNames = {"Map",          "Mutator",    "Texture",   "Sounds",   "Music",
                                              "Statich mesh", "Karma file", "Animation", "*Unknown*"};

namespace {

struct TKindOfExtension {
  const char* Extension;
  TPackageKind Kind;
};
constexpr TKindOfExtension KindsByExtension[] = {
    {".ut2", pkMap},   {".utx", pkTexture},    {".u", pkMutator},  {".ogg", pkMusic},
    {".uax", pkSound}, {".usx", pkStaticMesh}, {".ka", pkKarma}, {".ukx", pkAnimation},
};

// Game modes of maps, by the prefix of the map's name; the first match counts.
struct TMapMode {
  const char* Prefix;
  const char* Label;
};
constexpr TMapMode MapModes[] = {
    {"ONS-", "Onslaught "}, {"CTF-", "CTF "},        {"BR-", "Bombing run "}, {"AS-", "Assault "},
    {"DM-", "Deathmatch "}, {"DOM-", "Domination "}, {"TUT-", "Tutorial "},
};

constexpr int32_t OneMegabyte = 1048576;
constexpr int32_t OneKilobyte = 1024;

}  // namespace

std::array<const char*, 8> PackageExtensions() {
  static_assert(std::size(KindsByExtension) == 8);
  std::array<const char*, 8> extensions{};
  for (size_t i = 0; i < extensions.size(); ++i) extensions[i] = KindsByExtension[i].Extension;
  return extensions;
}

TPackageKind GetPackageKind(std::string_view name, TLeadByteTest isLeadByte) {
  const std::string extension = FileExtOf(name, isLeadByte);
  for (const auto& known : KindsByExtension)
    if (extension == known.Extension) return known.Kind;
  return pkOther;
}

TPackageKind GetFileKind(std::string_view name, TLeadByteTest isLeadByte) {
  const std::string extension = FileExtOf(name, isLeadByte);
  for (const auto& known : KindsByExtension)
    if (EqualsIgnoringAsciiCase(extension, known.Extension)) return known.Kind;
  return pkOther;
}

std::string GetDestinationFolder(TPackageKind kind, const TAppliedPrefs& prefs) {
  switch (kind) {
    case pkMap: return prefs.MapPath;
    case pkMutator: return prefs.SystemPath;
    case pkTexture: return prefs.TexturePath;
    case pkSound: return prefs.SoundPath;
    case pkMusic: return prefs.MusicPath;
    case pkStaticMesh: return prefs.MeshPath;
    case pkKarma: return prefs.KarmaPath;
    case pkAnimation: return prefs.AnimationPath;
    case pkOther: break;
  }
  return {};
}

std::string TypeTextOf(std::string_view name, TLeadByteTest isLeadByte) {
  const TPackageKind kind = GetPackageKind(name, isLeadByte);
  const std::string kindName = KindNames[kind];
  if (kind == pkMap)
    for (const auto& mode : MapModes)
      if (BeginsWith(name, mode.Prefix)) return mode.Label + kindName;
  return kindName;
}

std::string FormatSize(int64_t size, char decimalSeparator) {
  char text[32];
  if (size > OneMegabyte) {
    // Whole hundredths of a megabyte, a half rounded up; in integers, because a binary fraction
    // such as 1.125 would otherwise be rounded to even.
    const int64_t hundredths = (size * 100 + OneMegabyte / 2) / OneMegabyte;
    std::snprintf(text, sizeof text, "%lld%c%02lldMB", static_cast<long long>(hundredths / 100), decimalSeparator,
                  static_cast<long long>(hundredths % 100));
  } else if (size > OneKilobyte) {
    std::snprintf(text, sizeof text, "%lldKB", static_cast<long long>(size / OneKilobyte));
  } else {
    std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(size));
  }
  return text;
}

std::string FormatByteCount(uint64_t bytes, char decimalSeparator) {
  if (bytes < OneKilobyte) return std::to_string(bytes) + " bytes";
  static constexpr const char* Units[] = {"KB", "MB", "GB"};
  uint64_t unit = OneKilobyte;
  size_t which = 0;
  while (which + 1 < std::size(Units) && bytes >= unit * OneKilobyte) {
    unit *= OneKilobyte;
    ++which;
  }
  const uint64_t tenths = (bytes * 10 + unit / 2) / unit;
  char text[40];
  std::snprintf(text, sizeof text, "%llu%c%llu %s", static_cast<unsigned long long>(tenths / 10), decimalSeparator,
                static_cast<unsigned long long>(tenths % 10), Units[which]);
  return text;
}
