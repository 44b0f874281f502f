#pragma once
// The sections of the benchmark that stand in files of their own, listed in pn_bench.cpp's table
// of sections. Each measures in a game folder of its own (`game`, ending in a backslash).
#include <string>

class TReport;

// The list's sort by each column, 100,000 rows.
void SortSection(TReport& report, const std::string& game, bool quick);
