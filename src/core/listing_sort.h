#pragma once
// The order of the package list when the user sorts it by a column.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text_rules.h"

enum class TListingSortColumn { Filename, Size, Type };

struct TListingSort {
  TListingSortColumn Column = TListingSortColumn::Filename;
  bool Descending = false;

  bool operator==(const TListingSort&) const = default;
};

// What one row is sorted by: its caption and type text (views into the row, which must outlive
// the sort) and its payload's size in bytes, negative when the payload is missing.
struct TListingSortKey {
  std::string_view Caption;
  int64_t Size = -1;
  std::string_view TypeText;
};

// The sort after a click on column's header: the same column again turns the direction round,
// another column (or the first click) sorts by it ascending.
TListingSort SortAfterHeaderClick(const std::optional<TListingSort>& current, TListingSortColumn column);

// The row indexes in the order the list shows them. Filename compares captions ignoring a..z case
// (the trail byte of a double-byte character keeps its case), Type compares type texts byte for
// byte, Size compares sizes, with rows whose payload is missing after all others in either
// direction: they have no size to sort by and stay out of the way of those that do. Rows that
// compare equal keep their index order, descending too.
std::vector<size_t> SortedRowOrder(const std::vector<TListingSortKey>& keys, TListingSort sort,
                                   TLeadByteTest isLeadByte);
