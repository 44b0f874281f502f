#include "core/listing_sort.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// caption with a..z turned into A..Z outside double-byte characters.
std::string CaptionSortKey(std::string_view caption, TLeadByteTest isLeadByte) {
  std::string key(caption);
  for (size_t i = 0; i < key.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size())
      ++i;
    else if (key[i] >= 'a' && key[i] <= 'z')
      key[i] = static_cast<char>(key[i] - 'a' + 'A');
  }
  return key;
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
      std::vector<std::string> captions;
      captions.reserve(keys.size());
      for (const TListingSortKey& key : keys) captions.push_back(CaptionSortKey(key.Caption, isLeadByte));
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
