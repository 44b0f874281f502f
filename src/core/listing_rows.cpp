#include "core/listing_rows.h"

#include "core/package_kinds.h"

namespace {

constexpr int LitBulbImage = 0;
constexpr int UnlitBulbImage = 1;
constexpr int OtherVersionImage = 3;  // image 2 is the menu's plus

// Which bulb a row shows. A size that differs tells another version for sure; the same size may
// still be one, which only the run's look at the headers tells.
int ImageOf(int64_t payloadSize, const std::optional<int64_t>& installedSize) {
  if (!installedSize) return LitBulbImage;
  return payloadSize >= 0 && *installedSize != payloadSize ? OtherVersionImage : UnlitBulbImage;
}

}  // namespace

std::vector<TListingRow> BuildListingRows(const std::vector<std::string>& lines,
                                          const std::function<int64_t(const std::string& key)>& payloadSize,
                                          const std::function<std::optional<int64_t>(const std::string& name)>& installedSize,
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
    row.ImageIndex = ImageOf(row.PayloadSize, installedSize(row.Caption));
    rows.push_back(std::move(row));
  }
  return rows;
}
