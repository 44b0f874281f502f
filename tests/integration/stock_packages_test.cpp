// Which code packages the bulk registration leaves alone.
#include <gtest/gtest.h>

#include "integration/stock_packages.h"

namespace {

TEST(StockPackages, ListHoldsTheGamesThirtyThreePackagesInOrderAfterWhatWasThere) {
  std::vector<std::string> list{"Earlier"};
  FillStockList(list);
  ASSERT_EQ(list.size(), 34u);
  EXPECT_EQ(list[0], "Earlier");
  EXPECT_EQ(list[1], "BonusPack");
  EXPECT_EQ(list[4], "Core");
  EXPECT_EQ(list[16], "GUI2K4");
  EXPECT_EQ(list[26], "SkaarjPack_rc");
  EXPECT_EQ(list[33], "XVoting");
}

TEST(StockPackages, BaseNameIsTheTextBeforeTheFirstDot) {
  const struct {
    const char* file;
    const char* base;
  } cases[] = {{"MyMutator.u", "MyMutator"}, {"Core.bak.u", "Core"}, {"..Odd.u", "Odd"}, {"NoDot", "NoDot"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(PackageBaseName(c.file), c.base) << c.file;
}

TEST(StockPackages, StockTestIgnoresTheCaseOfAsciiLettersOnly) {
  std::vector<std::string> list;
  FillStockList(list);
  const struct {
    const char* file;
    bool stock;
  } cases[] = {
      {"Core.u", true},          {"core.u", true},       {"CORE.u", true},          {"Core.bak.u", true},
      {"xgame_RC.u", true},      {"UT2K4ASSAULT.u", true}, {"XVoting", true},
      {"MyMutator.u", false},    {"Cores.u", false},     {"Cor.u", false},          {"Core u", false},
      {" Core.u", false},        {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsStockPackage(list, c.file), c.stock) << c.file;
}

TEST(StockPackages, BytesOutsideAsciiAreComparedAsTheyAre) {
  // 0xC9 and 0xE9 are one letter in two cases in the Western code page; only a..z fold.
  const std::vector<std::string> list{"\xC9vent"};
  EXPECT_TRUE(IsStockPackage(list, "\xC9VENT.u"));
  EXPECT_FALSE(IsStockPackage(list, "\xE9vent.u"));
}

}  // namespace
