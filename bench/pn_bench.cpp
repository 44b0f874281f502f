// Benchmark of the main job under the real window: Open cache for large caches, the copy of the
// integration run against the system's own file copy, whole integration runs, and memory.
// A program, not a test: it measures and prints, and asserts nothing.
//
//   pn_bench [--csv FILE] [--quick] [--only SECTION]      (sections: the table in Measure)
//   pn_bench --open-cache-memory N     (one Open cache of N entries in a process of its own,
//                                        printing the peak working set; used by the full run)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/applied_prefs.h"
#include "job/copy_file.h"
#include "job/folder_listing.h"
#include "job/job_controller.h"
#include "support/test_files.h"
#include "ui/pn_mainform.h"
#include "win/application.h"
#include "win/handles.h"

namespace {
void OpenCacheSection(TReport& report, const std::string& game, bool quick) {
  const unsigned sizes[] = {1000, 10000, 100000};
  TBench bench(game);
  double previous = 0;
  for (unsigned entries : sizes) {
    if (quick && entries > 10000) break;
    MakeCache(bench.prefs.CachePath, entries, 256, TPayloads::EverySecond);
    const std::string label = std::to_string(entries) + " entries";
    TCacheIndex index;
    const double read = MedianSeconds(5, {}, [&] { (void)index.LoadCacheIndex(bench.prefs.CachePath + "cache.ini"); });
    std::vector<TListingRow> rows;
    const double size = MedianSeconds(5, {}, [&] { rows = RebuildListingRows(index, bench.prefs); });
    const double fill = MedianSeconds(5, {}, [&] {
      bench.form->ReplaceRows(rows);
      bench.Settle();
    });
    const double total = MedianSeconds(5, {}, [&] { bench.OpenCache(); });
    report.Add("open-cache", label + ": read index", read, "s");
    report.Add("open-cache", label + ": size payloads", size, "s");
    report.Add("open-cache", label + ": fill rows", fill, "s");
    report.Add("open-cache", label + ": total, command to painted list", total, "s");
    if (previous > 0) report.Add("open-cache", label + ": growth for 10x entries", total / previous, "x");
    previous = total;
  }
}

// The copies compared on the same files: the integration copy under the real window, the
// system's copy, a 1 MiB read/write loop, and the bare 16 KiB loop that is the design's ceiling.
void LoopCopy(const std::string& source, const std::string& dest, DWORD chunk) {
  TFileHandle in(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  TFileHandle out(::CreateFileA(dest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<char> buffer(chunk);
  DWORD got = 0, written = 0;
  while (::ReadFile(in.Get(), buffer.data(), chunk, &got, nullptr) && got > 0) ::WriteFile(out.Get(), buffer.data(), got, &written, nullptr);
}

void CopySection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  const std::string folder = game + "CopyBench\\";
  MakeFolders(folder);
  struct TCase {
    const char* label;
    unsigned files;
    size_t size;
  } cases[] = {{"256 MiB file", 1, size_t(256) << 20}, {"2,000 files of 64 KiB", 2000, 64 << 10}};
  for (const auto& c : cases) {
    const unsigned files = quick ? std::min(c.files, 200u) : c.files;
    for (unsigned i = 0; i < files; ++i) WriteFileBytes(folder + "src" + std::to_string(i), PayloadBytes(c.size, i));
    auto clean = [&] {
      for (unsigned i = 0; i < files; ++i) ::DeleteFileA((folder + "dst" + std::to_string(i)).c_str());
    };
    // One pass copies every file, with one staging folder for the pass, as a run has.
    using TCopy = std::function<void(const std::string&, const std::string&, TStagingFolders&)>;
    auto each = [&](const TCopy& copy) {
      return [&, copy] {
        TStagingFolders staging;
        for (unsigned i = 0; i < files; ++i)
          copy(folder + "src" + std::to_string(i), folder + "dst" + std::to_string(i), staging);
      };
    };
    TSilentView noWindow;
    const TCopyIo io = TCopyIo::Standard();
    const double bare =
        MedianSeconds(5, clean, each([&](auto& s, auto& d, auto& st) { CopyFileWithProgress(s, d, noWindow, io, st); }));
    bench.form->SetProgressVisible(true);
    const double ours =
        MedianSeconds(5, clean, each([&](auto& s, auto& d, auto& st) { CopyFileWithProgress(s, d, *bench.form, io, st); }));
    bench.form->SetProgressVisible(false);
    const double system =
        MedianSeconds(5, clean, each([](auto& s, auto& d, auto&) { ::CopyFileA(s.c_str(), d.c_str(), FALSE); }));
    const double loop1m = MedianSeconds(5, clean, each([](auto& s, auto& d, auto&) { LoopCopy(s, d, 1 << 20); }));
    const double loop16k = MedianSeconds(5, clean, each([](auto& s, auto& d, auto&) { LoopCopy(s, d, 16384); }));
    clean();
    for (unsigned i = 0; i < files; ++i) ::DeleteFileA((folder + "src" + std::to_string(i)).c_str());
    const std::string label = quick && files != c.files ? std::to_string(files) + " files of 64 KiB" : c.label;
    report.Add("copy", label + ": CopyFileWithProgress", ours, "s");
    report.Add("copy", label + ": CopyFileWithProgress, no window", bare, "s");
    report.Add("copy", label + ": CopyFileA", system, "s");
    report.Add("copy", label + ": read/write loop, 1 MiB", loop1m, "s");
    report.Add("copy", label + ": bare loop, 16 KiB (ceiling)", loop16k, "s");
    report.Add("copy", label + ": throughput vs CopyFileA", system / ours, "ratio");
    report.Add("copy", label + ": throughput vs 1 MiB loop", loop1m / ours, "ratio");
    report.Add("copy", label + ": throughput vs bare 16 KiB loop", loop16k / ours, "ratio");
  }
}

void IntegrationSection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  for (unsigned packages : {100u, 1000u, 10000u}) {
    if (quick && packages > 1000) break;
    const double total = MedianSeconds(
        3,
        [&] {
          bench.EmptyDestinations();
          MakeCache(bench.prefs.CachePath, packages, 4096, TPayloads::Every);
          bench.OpenCache();
          bench.form->SelectAll1Click();
        },
        [&] {
          bench.form->tbCopySelectedClick();
          bench.Settle();
        });
    const std::string label = std::to_string(packages) + " packages";
    report.Add("integration", label + ": total (copy, delete, index, rebuild)", total, "s");
    report.Add("integration", label + ": per package", total / packages * 1000, "ms");
  }
  // Every tenth row of 1,000: the cost per package follows the packages integrated, not the rows.
  const double tenth = MedianSeconds(
      3,
      [&] {
        bench.EmptyDestinations();
        MakeCache(bench.prefs.CachePath, 1000, 4096, TPayloads::Every);
        bench.OpenCache();
        for (int row = 0; row < 1000; row += 10) bench.form->SetRowTicked(row, true);
      },
      [&] {
        bench.form->tbCopySelectedClick();
        bench.Settle();
      });
  report.Add("integration", "100 of 1000 rows ticked: per package", tenth / 100 * 1000, "ms");
}

// One package out of a big cache: the rewrite, reload and rebuild after the run dominate. The
// big cache is made once, with only the payload that is integrated; each repeat puts back the
// index and that payload.
void RebuildSection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  const unsigned big = quick ? 10000 : 100000;
  MakeCache(bench.prefs.CachePath, big, 256, TPayloads::None);
  const std::string index = ReadFileBytes(bench.prefs.CachePath + "cache.ini");
  const std::string firstPayload = bench.prefs.CachePath + CacheGuid(0) + "-1.uxx";
  const std::string firstBytes = PayloadBytes(256, 0);
  const double one = MedianSeconds(
      3,
      [&] {
        WriteFileBytes(bench.prefs.CachePath + "cache.ini", index);
        WriteFileBytes(firstPayload, firstBytes);
        ::DeleteFileA((bench.prefs.MapPath + "DM-Arena0.ut2").c_str());
        bench.OpenCache();
        bench.form->SetRowTicked(0, true);
      },
      [&] {
        bench.form->tbCopySelectedClick();
        bench.Settle();
      });
  report.Add("rebuild", std::string("1 package of ") + (quick ? "10,000" : "100,000") + ": run with rewrite and rebuild", one, "s");
}

// The peak working set of one Open cache of `entries` entries, in this process alone.
int OpenCacheMemory(unsigned entries) {
  TTempFolder temp;
  TBench bench(temp.Path());
  MakeCache(bench.prefs.CachePath, entries, 0, TPayloads::None);
  bench.OpenCache();
  std::printf("%zu\n", PeakWorkingSet());
  return 0;
}

void MemorySection(TReport& report, bool quick) {
  double previous = 0;
  for (unsigned entries : {1000u, 10000u, 100000u}) {
    if (quick && entries > 10000) break;
    // A child process per size, so that each peak belongs to that size alone.
    const double peak = ChildPeakMiB("--open-cache-memory " + std::to_string(entries));
    if (peak < 0) continue;
    report.Add("memory", std::to_string(entries) + " entries: peak working set", peak, "MiB");
    if (previous > 0) report.Add("memory", std::to_string(entries) + " entries: growth for 10x entries", peak / previous, "x");
    previous = peak;
  }
}

void Measure(bool quick, const std::string& csv, const std::string& only);

}  // namespace

int main(int argc, char** argv) {
  ::OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  Application.Title = "Pellorin v1.1";

  std::string csv, only;
  bool quick = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--open-cache-memory" && i + 1 < argc) return OpenCacheMemory(static_cast<unsigned>(std::atoi(argv[++i])));
    if (arg == "--install-memory" && i + 1 < argc) return InstallMemory(argv[++i]);
    if (arg == "--preview-memory" && i + 1 < argc) return PreviewMemory(argv[++i]);
    if (arg == "--csv" && i + 1 < argc) csv = argv[++i];
    if (arg == "--quick") quick = true;
    if (arg == "--only" && i + 1 < argc) only = argv[++i];
  }

  try {
    Measure(quick, csv, only);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pn_bench: %s\n", error.what());
    return 1;
  }
  ::OleUninitialize();
  return 0;
}

namespace {

void Measure(bool quick, const std::string& csv, const std::string& only) {
  struct TSection {
    const char* Name;
    void (*Run)(TReport& report, const std::string& game, bool quick);
  };
  static const TSection sections[] = {
      {"open-cache", OpenCacheSection},
      {"copy", CopySection},
      {"integration", IntegrationSection},
      {"rebuild", RebuildSection},
      {"package-needs", PackageNeedsSection},
      {"versions", VersionsSection},
      {"memory", [](TReport& report, const std::string&, bool quick) { MemorySection(report, quick); }},
      {"sort", SortSection},
      {"uz2-export", Uz2ExportSection},
      {"uz2-install", Uz2InstallSection},
      {"zip-export", ZipExportSection},
      {"archive-memory", ArchiveMemorySection},
      {"preview", PreviewSection},
      {"cleanup", CleanUpSection},
  };
  TReport report;
  std::printf("%-14s %-52s %12s\n", "section", "measure", "value");
  for (const auto& section : sections) {
    if (!only.empty() && only != section.Name) continue;
    TTempFolder game;
    section.Run(report, game.Path(), quick);
  }
  if (!csv.empty()) report.WriteCsv(csv);
}

}  // namespace
