#pragma once
// Readable failure messages for list rows.
#include <ostream>

#include "core/listing_rows.h"

inline void PrintTo(const TListingRow& row, std::ostream* out) {
  *out << '{' << '"' << row.Caption << "\", \"" << row.SizeText << "\", \"" << row.TypeText << "\", image "
       << row.ImageIndex << ", " << row.PayloadSize << " bytes" << (row.Ticked ? ", ticked}" : "}");
}
