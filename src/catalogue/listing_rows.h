#pragma once
// One row of the package list, as data: what the list view shows for one entry line.
#include <string>

struct TListingRow {
  std::string Caption;   // column "Filename": the real file name, field 2 of the line
  std::string SizeText;  // column "Size"
  std::string TypeText;  // column "Type"
  int ImageIndex = 0;    // 0 lit bulb; 1 unlit bulb: the package already lies in its destination
  bool Ticked = false;

  bool operator==(const TListingRow&) const = default;
};
