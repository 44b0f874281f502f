// Which code packages the bulk registration leaves alone.
#include <gtest/gtest.h>

#include "core/stock_packages.h"

TEST(StockPackages, TheGamesOwnPackagesMatchByBaseNameIgnoringTheCaseOfAToZ) {
  std::vector<std::string> list{"\xC9vent"};
  FillStockList(list);
  ASSERT_EQ(list.size(), 34u);
  EXPECT_EQ(list[1] + list[4] + list[33], "BonusPackCoreXVoting");
  const struct {
    const char* file;
    bool stock;
  } cases[] = {{"Core.u", true},        {"core.u", true},         {"CORE.u", true},        {"Core.bak.u", true},
               {"xgame_RC.u", true},    {"XVoting", true},        {"\xC9VENT.u", true},    {"\xE9vent.u", false},
               {"MyMutator.u", false},  {"Cores.u", false},       {" Core.u", false},      {"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsStockPackage(list, c.file), c.stock) << c.file;
}
