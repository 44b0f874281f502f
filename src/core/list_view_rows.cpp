#include "core/list_view_rows.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "core/exceptions.h"

namespace {

const std::string NoText;

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool CaptionMatches(const std::string& caption, const std::string& text, bool partial) {
  if (caption.size() < text.size() || (!partial && caption.size() != text.size())) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (FoldCase(caption[i]) != FoldCase(text[i])) return false;
  return true;
}

}  // namespace

const TListingRow& TListViewRows::Row(int row) const {
  if (!Contains(row)) throw EListError(FormatText("List index out of bounds (%d)", row));
  return At(row);
}

void TListViewRows::Replace(std::vector<TListingRow> rows) {
  rows_ = std::move(rows);
  Order();
}

int TListViewRows::SortBy(std::optional<TListingSort> sort, TLeadByteTest isLeadByte, int follow) {
  const size_t followed = Contains(follow) ? order_[static_cast<size_t>(follow)] : rows_.size();
  sort_ = sort;
  isLeadByte_ = isLeadByte;
  Order();
  const auto shown = std::find(order_.begin(), order_.end(), followed);
  return shown == order_.end() ? -1 : static_cast<int>(shown - order_.begin());
}

void TListViewRows::Order() {
  if (!sort_) {
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), size_t{0});
    return;
  }
  std::vector<TListingSortKey> keys;
  keys.reserve(rows_.size());
  for (const TListingRow& row : rows_) keys.push_back({row.Caption, row.PayloadSize, row.TypeText});
  order_ = SortedRowOrder(keys, *sort_, isLeadByte_);
}

void TListViewRows::SetTicked(int row, bool ticked) {
  Row(row);  // raises outside the list
  At(row).Ticked = ticked;
}

void TListViewRows::Toggle(int row) { SetTicked(row, !Row(row).Ticked); }

void TListViewRows::TickAll() {
  for (TListingRow& row : rows_) row.Ticked = true;
}

unsigned TListViewRows::StateImageOf(int row) const {
  return Row(row).Ticked ? TickedStateImage : UntickedStateImage;
}

bool TListViewRows::ApplyStateImage(int row, unsigned stateImage) {
  if (stateImage != UntickedStateImage && stateImage != TickedStateImage) return false;
  const bool ticked = stateImage == TickedStateImage;
  if (row == -1) {
    for (TListingRow& each : rows_) each.Ticked = ticked;
    return true;
  }
  if (!Contains(row)) return false;
  At(row).Ticked = ticked;
  return true;
}

const std::string& TListViewRows::ColumnText(int row, int column) const {
  const TListingRow& listed = Row(row);
  switch (column) {
    case 0: return listed.Caption;
    case 1: return listed.SizeText;
    case 2: return listed.TypeText;
    default: return NoText;
  }
}

int TListViewRows::FindCaption(const std::string& text, int start, bool partial, bool wrap) const {
  const int count = Count();
  if (count == 0) return -1;
  const int first = Contains(start) ? start : 0;
  const int steps = wrap ? count : count - first;
  for (int step = 0; step < steps; ++step) {
    const int row = (first + step) % count;
    if (CaptionMatches(At(row).Caption, text, partial)) return row;
  }
  return -1;
}

void CopyToBuffer(const std::string& text, char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return;
  const size_t length = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}
