// What Clean Up's look at a large cache costs: 10,000 entries, 5,000 of them installed (half in
// the same version, half in another, so that every one's headers are read), and 1,000 payload
// files that no line names; and what removing 1,000 packages costs, the index save and the
// deletions included.
#include <windows.h>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/package_builder.h"
#include "core/package_kinds.h"
#include "job/cache_cleanup.h"
#include "job/cache_index.h"
#include "win/files.h"

namespace {

constexpr unsigned Entries = 10000, Installed = 5000, Orphans = 1000, Removed = 1000;
constexpr size_t PackageBytes = 4096;

std::string PackageBytesOf(unsigned i, uint32_t version) {
  TPackageBuilder package{.guid = {i, version, 0x5B7E41C6, 0x3F2A9C0D}};
  package.fillerBytes += PackageBytes - package.Build().size();
  return package.Build();
}

// MakeCache's index with real packages as payloads; every second name installed, every fourth in
// another version; and the orphans beside them.
void MakeTidyCache(TBench& bench) {
  bench.EmptyDestinations();
  const std::string& cache = bench.prefs.CachePath;
  MakeCache(cache, Entries, 0, TPayloads::None);
  const std::string index = ReadFileBytes(cache + "cache.ini");
  unsigned i = 0;
  for (size_t start = index.find('\n') + 1, end; (end = index.find("\r\n", start)) != std::string::npos; start = end + 2, ++i) {
    const std::string line = index.substr(start, end - start);
    const std::string key = line.substr(0, line.find('=')), name = line.substr(line.find('=') + 1);
    WriteFileBytes(cache + key + ".uxx", PackageBytesOf(i, 1));
    if (i % 2 == 0)
      WriteFileBytes(GetDestinationFolder(GetPackageKind(name), bench.prefs) + name, PackageBytesOf(i, i % 4 == 0 ? 1 : 2));
  }
  for (unsigned j = 0; j < Orphans; ++j) WriteFileBytes(cache + CacheGuid(Entries + j) + "-1.uxx", PackageBytesOf(j, 3));
}

}  // namespace

void CleanUpSection(TReport& report, const std::string& game, bool) {
  TBench bench(game);
  MakeTidyCache(bench);
  TCacheIndex index;
  (void)index.LoadCacheIndex(bench.prefs.CachePath + "cache.ini");
  TCacheSurvey survey;
  const double look = MedianSeconds(3, {}, [&] {
    SurveyCache(index, bench.prefs, "", [](size_t, size_t) { return true; }, survey);
  });
  if (survey.orphans.size() != Orphans || survey.installedLines.size() != Installed / 2)
    std::fprintf(stderr, "warning: the survey found %u orphans and %u installed\n", unsigned(survey.orphans.size()),
                 unsigned(survey.installedLines.size()));
  report.Add("cleanup", "look at 10,000 entries, 5,000 installed, 1,000 orphans", look, "s");
  report.Add("cleanup", "bytes read per installed package", double(survey.bytesRead) / Installed, "B");

  const double removal = MedianSeconds(
      3,
      [&] {
        MakeTidyCache(bench);
        bench.OpenCache();
        for (int row = 0; row < int(Removed); ++row) bench.form->SetRowTicked(row, true);
      },
      [&] {
        bench.form->Commands().RemoveFromCache1Click(-1);
        bench.Settle();
      });
  report.Add("cleanup", "remove 1,000 packages: per package", removal / Removed * 1000, "ms");
}
