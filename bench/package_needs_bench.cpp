// What ticked packages need: the check that "Select Needed Packages" and the question before an
// integration run make, over 1,000 ticked maps of 1 MiB, each needing cached textures and code
// and installed stock packages. The payloads are real packages; their filler is left a hole in
// the file, so that the benchmark writes kilobytes, not a gigabyte.
#include <windows.h>

#include <cstdio>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/package_builder.h"
#include "job/cache_index.h"
#include "job/package_check.h"

namespace {

constexpr unsigned TickedMaps = 1000;
constexpr unsigned CachedTextures = 100;
constexpr size_t MapBytes = size_t(1) << 20;

// Writes the package with its filler (between the name and the import table) as a hole.
void WritePackage(const std::string& path, const TPackageBuilder& package) {
  const std::string bytes = package.Build();
  size_t importStart = 0;  // the header's ninth word
  for (int i = 3; i >= 0; --i) importStart = importStart << 8 | static_cast<unsigned char>(bytes[32 + i]);
  TFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  const std::string head = bytes.substr(0, importStart - package.fillerBytes), tail = bytes.substr(importStart);
  ::WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(importStart);
  ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN);
  ::WriteFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
}

// A package of the given size at most, needing the given packages.
TPackageBuilder Needing(const std::vector<std::string>& names, size_t size, uint32_t n) {
  TPackageBuilder package{.guid = {n, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3}, .imports = ImportsNeeding(names)};
  const size_t smallest = package.Build().size();
  if (size > smallest) package.fillerBytes += size - smallest;
  return package;
}

}  // namespace

// The target is set for 1,000 ticked packages, so a quick run measures them too.
void PackageNeedsSection(TReport& report, const std::string& game, bool) {
  const unsigned maps = TickedMaps;
  TAppliedPrefs prefs{game + "System\\", game + "Maps\\", game + "Textures\\", game + "Sounds\\",
                      game + "Music\\", game + "StaticMeshes\\", game + "Animations\\", game + "KarmaData\\",
                      game + "Cache\\", false, false};
  for (const std::string* folder : {&prefs.SystemPath, &prefs.MapPath, &prefs.TexturePath, &prefs.SoundPath,
                                    &prefs.MusicPath, &prefs.MeshPath, &prefs.AnimationPath, &prefs.KarmaPath,
                                    &prefs.CachePath})
    MakeFolders(*folder);
  for (const char* stock : {"Core.u", "Engine.u"}) WriteFileBytes(prefs.SystemPath + stock, "");
  std::string index = "[Cache]\r\n";
  std::vector<std::string> ticked;
  const auto add = [&](const std::string& realName, const TPackageBuilder& package) {
    const std::string key = GuidKeyText(package.guid) + "-1";
    WritePackage(prefs.CachePath + key + ".uxx", package);
    index += key + "=" + realName + "\r\n";
  };
  for (unsigned i = 0; i < CachedTextures; ++i)
    add("BenchTex" + std::to_string(i) + ".utx", Needing({"Engine"}, 4096, 0x10000 + i));
  add("BenchCode.u", Needing({"Core", "Engine"}, 65536, 0x20000));
  for (unsigned i = 0; i < maps; ++i) {
    ticked.push_back("DM-Bench" + std::to_string(i) + ".ut2");
    add(ticked.back(), Needing({"BenchTex" + std::to_string(i % CachedTextures), "BenchCode", "Engine", "Core"},
                               MapBytes, i));
  }
  WriteFileBytes(prefs.CachePath + "cache.ini", index);
  TCacheIndex cache;
  (void)cache.LoadCacheIndex(prefs.CachePath + "cache.ini");

  uint64_t bytesRead = 0;
  size_t needed = 0;
  const double seconds = MedianSeconds(3, {}, [&] {
    TPackageCheck check(cache, prefs);
    needed = check.NeedsOf(ticked).cached.size();
    bytesRead = check.BytesRead();
  });
  const std::string label = std::to_string(maps) + " ticked maps of 1 MiB";
  report.Add("package-needs", label + ": check", seconds, "s");
  report.Add("package-needs", label + ": cached packages found needed", static_cast<double>(needed), "");
  report.Add("package-needs", label + ": bytes read per package read",
             static_cast<double>(bytesRead) / (maps + CachedTextures + 1), "bytes");

  // What the question before a run adds to a run of payloads that are no packages.
  MakeCache(prefs.CachePath, maps, 4096, TPayloads::Every);
  (void)cache.LoadCacheIndex(prefs.CachePath + "cache.ini");
  std::vector<std::string> names;
  for (size_t line = 1; line < cache.CacheList().size(); ++line)
    names.push_back(ExtractField(2, cache.CacheList()[line], "="));
  const double others = MedianSeconds(3, {}, [&] { TPackageCheck(cache, prefs).NeedsOf(names); });
  report.Add("package-needs", std::to_string(maps) + " ticked payloads of 4 KiB that are no packages: check", others,
             "s");
}
