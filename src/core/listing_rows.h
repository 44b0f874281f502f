#pragma once
// One row of the package list, as data: what the list view shows for one entry line.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/text_rules.h"

struct TListingRow {
  std::string Caption;   // column "Filename": the real file name, field 2 of the line
  std::string SizeText;  // column "Size"
  std::string TypeText;  // column "Type"
  // 0 lit bulb; 1 unlit bulb: the package already lies in its destination; 3 unlit bulb with a
  // mark: a file of its name lies there, of another size, so another version of it
  int ImageIndex = 0;
  bool Ticked = false;
  int64_t PayloadSize = -1;  // in bytes, -1 when the payload is missing: what Size sorts by

  bool operator==(const TListingRow&) const = default;
};

// One row for every line from line 1 on (line 0 is the header) that is neither blank nor a
// comment (first stored byte ';'), in line order, unticked. payloadSize gets the line's key (its
// first field at "=") and gives the payload's size or -1; installedSize gets the real file name
// (the second field) and gives the size of the file of that name in the package's destination
// folder, nothing when none lies there.
std::vector<TListingRow> BuildListingRows(const std::vector<std::string>& lines,
                                          const std::function<int64_t(const std::string& key)>& payloadSize,
                                          const std::function<std::optional<int64_t>(const std::string& name)>& installedSize,
                                          char decimalSeparator, TLeadByteTest isLeadByte);
