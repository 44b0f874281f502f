// What the versions cost an integration: 1,000 cached packages whose names are all installed
// already in another version (the plan reads both headers of each, or compares the bytes of the
// music, and each installed file is moved aside before the new one takes its place), against the
// same run into empty game folders.
#include <windows.h>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/package_builder.h"
#include "core/package_kinds.h"
#include "win/files.h"

namespace {

constexpr unsigned Packages = 1000;
constexpr size_t PackageBytes = 4096;

// The package of entry i of MakeCache's index, with the GUID of version.
std::string PackageBytesOf(unsigned i, uint32_t version) {
  TPackageBuilder package{.guid = {i, version, 0xA8D2F0B9, 0xE1C4A7D3}};
  package.fillerBytes += PackageBytes - package.Build().size();
  return package.Build();
}

// The cache of MakeCache with real packages as payloads; with installed, every name also lies in
// its game folder in another version.
void MakeVersions(TBench& bench, bool installed) {
  bench.EmptyDestinations();
  MakeCache(bench.prefs.CachePath, Packages, 0, TPayloads::None);
  const std::string index = ReadFileBytes(bench.prefs.CachePath + "cache.ini");
  unsigned i = 0;
  for (size_t start = index.find('\n') + 1, end; (end = index.find("\r\n", start)) != std::string::npos; start = end + 2, ++i) {
    const std::string line = index.substr(start, end - start);
    const std::string key = line.substr(0, line.find('=')), name = line.substr(line.find('=') + 1);
    WriteFileBytes(bench.prefs.CachePath + key + ".uxx", PackageBytesOf(i, 1));
    if (installed)
      WriteFileBytes(GetDestinationFolder(GetPackageKind(name), bench.prefs) + name, PackageBytesOf(i, 2));
  }
}

double Integration(TBench& bench, bool installed) {
  return MedianSeconds(
      3,
      [&] {
        MakeVersions(bench, installed);
        bench.OpenCache();
        bench.form->SelectAll1Click();
      },
      [&] {
        bench.form->tbCopySelectedClick();
        bench.Settle();
      });
}

}  // namespace

// The boxes answer Yes: every installed version is replaced and kept aside.
void VersionsSection(TReport& report, const std::string& game, bool) {
  TBench bench(game);
  const double empty = Integration(bench, false);
  const double other = Integration(bench, true);
  report.Add("versions", "1,000 packages into empty folders: per package", empty / Packages * 1000, "ms");
  report.Add("versions", "1,000 packages over other versions: per package", other / Packages * 1000, "ms");
  report.Add("versions", "over other versions against empty folders", other / empty, "x");
}
