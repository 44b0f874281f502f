#include "core/listing_rows.h"

#include "core/package_kinds.h"

namespace {

constexpr int LitBulbImage = 0;
constexpr int UnlitBulbImage = 1;

}  // namespace

std::vector<TListingRow> BuildListingRows(const std::vector<std::string>& lines,
                                          const std::function<int64_t(const std::string& key)>& payloadSize,
                                          const std::function<bool(const std::string& name)>& isInstalled,
                                          char decimalSeparator, TLeadByteTest isLeadByte) {
  std::vector<TListingRow> rows;
  for (size_t i = 1; i < lines.size(); ++i) {  // line 0 is the header
    const std::string& line = lines[i];
    if (TrimBlanks(line).empty() || line[0] == ';') continue;
    TListingRow row;
    row.Caption = ExtractField(2, line, "=");
    row.PayloadSize = payloadSize(ExtractField(1, line, "="));
    row.SizeText = FormatSize(row.PayloadSize, decimalSeparator);
    row.TypeText = TypeTextOf(row.Caption, isLeadByte);
    row.ImageIndex = isInstalled(row.Caption) ? UnlitBulbImage : LitBulbImage;
    rows.push_back(std::move(row));
  }
  return rows;
}
