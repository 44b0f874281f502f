// The list's sort: 100,000 rows sorted by each column through the header click's handler, up to
// the repainted list. The rows are made in memory, since the sort reads no files.
#include <cstdio>

#include "bench_kit.h"
#include "bench_sections.h"

void SortSection(TReport& report, const std::string& game, bool) {
  TBench bench(game);
  const char* kinds[][2] = {{"DM-Map%06u.ut2", "Deathmatch Map"}, {"mutator%06u.u", "Mutator"},
                            {"Tex%06u.utx", "Texture"}, {"ctf-map%06u.ut2", "Map"}, {"Notes%06u.txt", "*Unknown*"}};
  std::vector<TListingRow> rows(100000);
  for (unsigned i = 0; i < rows.size(); ++i) {
    char name[32];
    // Names and sizes out of order, a missing payload every seventh row.
    const unsigned scrambled = (i * 7919u) % 100000u;
    std::snprintf(name, sizeof name, kinds[i % 5][0], scrambled);
    rows[i].Caption = name;
    rows[i].TypeText = kinds[i % 5][1];
    rows[i].PayloadSize = i % 7 == 0 ? -1 : static_cast<int64_t>(scrambled) * 977 % 5000000;
    rows[i].SizeText = std::to_string(rows[i].PayloadSize) + " bytes";
  }
  bench.form->ReplaceRows(rows);
  bench.Settle();
  const char* columns[] = {"Filename", "Size", "Type"};
  for (int column = 0; column < 3; ++column) {
    const double seconds = MedianSeconds(5, {}, [&] {
      bench.form->lvCacheItemsColumnClick(column);
      bench.Settle();
    });
    report.Add("sort", std::string("100,000 rows by ") + columns[column] + ", click to painted list", seconds, "s");
  }
}
