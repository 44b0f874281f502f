#pragma once
// The sections of the benchmark that stand in files of their own, listed in pn_bench.cpp's table
// of sections. Each measures in a game folder of its own (`game`, ending in a backslash).
#include <string>

class TReport;

// What 1,000 ticked packages need, read from their headers (package_needs_bench.cpp).
void PackageNeedsSection(TReport& report, const std::string& game, bool quick);
// The list's sort by each column, 100,000 rows.
void SortSection(TReport& report, const std::string& game, bool quick);
