#include "core/listing_sort.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// Each caption with a..z turned into A..Z outside double-byte characters, all in one buffer: one
// allocation rather than one per row, which a list of 100,000 rows notices.
std::vector<std::string_view> CaptionSortKeys(const std::vector<TListingSortKey>& keys, std::string& buffer,
                                              TLeadByteTest isLeadByte) {
  size_t total = 0;
  for (const TListingSortKey& key : keys) total += key.Caption.size();
  buffer.clear();
  buffer.reserve(total);
  for (const TListingSortKey& key : keys) {
    const std::string_view caption = key.Caption;
    for (size_t i = 0; i < caption.size(); ++i) {
      char c = caption[i];
      if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < caption.size()) {
        buffer += c;
        c = caption[++i];
      } else if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
      }
      buffer += c;
    }
  }
  std::vector<std::string_view> folded;
  folded.reserve(keys.size());
  size_t start = 0;
  for (const TListingSortKey& key : keys) {
    folded.push_back(std::string_view(buffer).substr(start, key.Caption.size()));
    start += key.Caption.size();
  }
  return folded;
}

// Sorts order stably by less, turned round for a descending sort; ties keep index order
// either way because a descending sort swaps the arguments instead of reversing the result.
template <typename TLess>
void SortStably(std::vector<size_t>& order, bool descending, TLess less) {
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(b, a); });
  else
    std::stable_sort(order.begin(), order.end(), less);
}

}  // namespace

TListingSort SortAfterHeaderClick(const std::optional<TListingSort>& current, TListingSortColumn column) {
  if (current && current->Column == column) return {column, !current->Descending};
  return {column, false};
}

std::vector<size_t> SortedRowOrder(const std::vector<TListingSortKey>& keys, TListingSort sort,
                                   TLeadByteTest isLeadByte) {
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  switch (sort.Column) {
    case TListingSortColumn::Filename: {
      std::string buffer;
      const std::vector<std::string_view> captions = CaptionSortKeys(keys, buffer, isLeadByte);
      SortStably(order, sort.Descending, [&](size_t a, size_t b) { return captions[a] < captions[b]; });
      break;
    }
    case TListingSortColumn::Type:
      SortStably(order, sort.Descending, [&](size_t a, size_t b) { return keys[a].TypeText < keys[b].TypeText; });
      break;
    case TListingSortColumn::Size:
      std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const bool aMissing = keys[a].Size < 0, bMissing = keys[b].Size < 0;
        if (aMissing || bMissing) return !aMissing;  // missing payloads last in either direction
        return sort.Descending ? keys[b].Size < keys[a].Size : keys[a].Size < keys[b].Size;
      });
      break;
  }
  return order;
}
