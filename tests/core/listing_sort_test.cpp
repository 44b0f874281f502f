#include <gtest/gtest.h>

#include "core/listing_sort.h"

namespace {

// Code page 932: 0x95 leads a pair whose trail byte may be a letter, which keeps its case.
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

using Column = TListingSortColumn;

}  // namespace

TEST(SortedRowOrder, SortsEachColumnBothWaysKeepingTiesInIndexOrder) {
  const std::vector<TListingSortKey> rows = {
      {"b.ut2", 100, "Map"},      {"A.u", -1, "Mutator"},       {"a.u", 50, "Map"},
      {"B.UT2", 100, "Texture"},  {"\x95" "ax", -1, "Map"},     {"c.uax", 0, "Sounds"},
      {"\x95" "Ay", 7, "Texture"}, {"d.ka", 4294967396, "Karma"},  // 2^32 + 100: no 32-bit size
  };
  const struct {
    TListingSort sort;
    std::vector<size_t> order;
  } cases[] = {
      {{Column::Filename, false}, {1, 2, 0, 3, 5, 7, 6, 4}}, {{Column::Filename, true}, {4, 6, 7, 5, 0, 3, 1, 2}},
      {{Column::Size, false}, {5, 6, 2, 0, 3, 7, 1, 4}},     {{Column::Size, true}, {7, 0, 3, 2, 6, 5, 1, 4}},
      {{Column::Type, false}, {7, 0, 2, 4, 1, 5, 3, 6}},     {{Column::Type, true}, {3, 6, 5, 1, 0, 2, 4, 7}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SortedRowOrder(rows, c.sort, ShiftJisLeadByte), c.order)
        << static_cast<int>(c.sort.Column) << (c.sort.Descending ? " descending" : " ascending");
  EXPECT_TRUE(SortedRowOrder({}, {Column::Size, true}, ShiftJisLeadByte).empty());
}

TEST(SortAfterHeaderClick, ReversesOnlyTheSameColumn) {
  const struct {
    std::optional<TListingSort> current;
    Column clicked;
    TListingSort next;
  } cases[] = {
      {std::nullopt, Column::Size, {Column::Size, false}},
      {TListingSort{Column::Size, false}, Column::Size, {Column::Size, true}},
      {TListingSort{Column::Size, true}, Column::Size, {Column::Size, false}},
      {TListingSort{Column::Size, true}, Column::Type, {Column::Type, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(SortAfterHeaderClick(c.current, c.clicked), c.next);
}
