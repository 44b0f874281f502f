#pragma once
// The package list's rows as the window keeps them. The list view holds no rows of its own (it
// is an owner-data list, so that 100,000 rows are listed at once); it asks for each row's texts,
// image and check box when it draws, and every way of ticking (mouse, Space, Select All, the
// list view's own state messages sent by other programs) ends up here.
#include <string>
#include <vector>

#include "core/listing_rows.h"

// The check box images of a list view with check boxes: 1 unticked, 2 ticked.
inline constexpr unsigned UntickedStateImage = 1;
inline constexpr unsigned TickedStateImage = 2;

class TListViewRows {
public:
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Contains(int row) const { return row >= 0 && row < Count(); }

  // Raises EListError "List index out of bounds (%d)" for a row outside the list.
  const TListingRow& Row(int row) const;
  void Replace(std::vector<TListingRow> rows) { rows_ = std::move(rows); }

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
  std::vector<TListingRow> rows_;
};

// Copies text into a buffer of capacity bytes, cut to fit and always terminated.
void CopyToBuffer(const std::string& text, char* buffer, int capacity);
