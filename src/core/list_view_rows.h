#pragma once
// The package list's rows as the window keeps them. The list view holds no rows of its own (it
// is an owner-data list, so that 100,000 rows are listed at once); it asks for each row's texts,
// image and check box when it draws, and every way of ticking (mouse, Space, Select All, the
// list view's own state messages sent by other programs) ends up here.
//
// Rows are shown in a sort order of the user's choice: every row number here is a position as
// shown, so ticks, texts and the commands that walk the rows all follow the order on screen.
#include <optional>
#include <string>
#include <vector>

#include "core/listing_rows.h"
#include "core/listing_sort.h"

// The check box images of a list view with check boxes: 1 unticked, 2 ticked.
inline constexpr unsigned UntickedStateImage = 1;
inline constexpr unsigned TickedStateImage = 2;

class TListViewRows {
public:
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Contains(int row) const { return row >= 0 && row < Count(); }

  // Raises EListError "List index out of bounds (%d)" for a row outside the list.
  const TListingRow& Row(int row) const;
  // New rows, shown in the sort order chosen before.
  void Replace(std::vector<TListingRow> rows);

  // Shows the rows sorted (see SortedRowOrder), each keeping its tick; nothing shows them in the
  // order Replace gave them. Returns where the row shown at follow is shown afterwards, or -1.
  int SortBy(std::optional<TListingSort> sort, TLeadByteTest isLeadByte, int follow = -1);
  const std::optional<TListingSort>& Sort() const { return sort_; }

  void SetTicked(int row, bool ticked);  // EListError outside the list
  void Toggle(int row);                  // EListError outside the list
  void TickAll();

  // The check box image of a row, as the list view draws it.
  unsigned StateImageOf(int row) const;
  // A check box image set through the list view's item state: row -1 means every row. Only the
  // two check box images are taken; false (nothing changed) for any other image or a row outside
  // the list, as the list view itself answers.
  bool ApplyStateImage(int row, unsigned stateImage);

  // Column 0 "Filename", 1 "Size", 2 "Type"; empty for any other column.
  const std::string& ColumnText(int row, int column) const;

  // The list view's type-ahead search: the first row from start on (wrapping to the top when
  // wrap is set) whose caption begins with text, ignoring the case of A to Z, or equals it when
  // partial is not set; -1 when none does.
  int FindCaption(const std::string& text, int start, bool partial, bool wrap) const;

private:
  TListingRow& At(int row) { return rows_[order_[static_cast<size_t>(row)]]; }
  const TListingRow& At(int row) const { return rows_[order_[static_cast<size_t>(row)]]; }
  void Order();

  std::vector<TListingRow> rows_;  // in the order Replace gave them
  std::vector<size_t> order_;      // for each position shown, the index of its row
  std::optional<TListingSort> sort_;
  TLeadByteTest isLeadByte_ = nullptr;
};

// Copies text into a buffer of capacity bytes, cut to fit and always terminated.
void CopyToBuffer(const std::string& text, char* buffer, int capacity);
