#pragma once
// The sections of the benchmark that stand in files of their own, listed in pn_bench.cpp's table
// of sections. Each measures in a game folder of its own (`game`, ending in a backslash).
#include <string>

class TReport;

// What 1,000 ticked packages need, read from their headers (package_needs_bench.cpp).
void PackageNeedsSection(TReport& report, const std::string& game, bool quick);
// An integration of 1,000 packages installed in another version, against one into empty folders.
void VersionsSection(TReport& report, const std::string& game, bool quick);
// The list's sort by each column, 100,000 rows.
void SortSection(TReport& report, const std::string& game, bool quick);
// bench/archive_bench.cpp: exports as .uz2 files and as a zip archive, the install of a .uz2,
// each against the bare zlib loop over the same bytes, and the install's peak memory.
void Uz2ExportSection(TReport& report, const std::string& game, bool quick);
void Uz2InstallSection(TReport& report, const std::string& game, bool quick);
void ZipExportSection(TReport& report, const std::string& game, bool quick);
void ArchiveMemorySection(TReport& report, const std::string& game, bool quick);
// The peak working set of installing one .uz2 file, printed by a process of its own.
int InstallMemory(const std::string& uz2Path);
// bench/preview_bench.cpp: a map's summary and screenshot, the thumbnails of a texture package,
// and the peak working set of reading a map (printed by a process of its own).
void PreviewSection(TReport& report, const std::string& game, bool quick);
int PreviewMemory(const std::string& payloadPath);
// bench/cleanup_bench.cpp: Clean Up's look at a large cache, and removing 1,000 packages.
void CleanUpSection(TReport& report, const std::string& game, bool quick);
