// Fuzz target for the cache index text: reading in both encodings, marking, dropping the handled
// lines and writing. For any input the written bytes must equal what an independent, naive model
// of the game's line rules predicts, and the one-pass look-up must agree with the plain
// first-match search.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/index_lines.h"
#include "core/text_rules.h"

namespace {

// Naive model: cut at the first NUL, turn CRLF into LF, then every remaining CR into LF,
// split at LF and drop the empty piece after a final line end.
std::vector<std::string> ModelLines(std::string_view bytes) {
  std::string text(bytes.substr(0, bytes.find('\0')));
  std::string unified;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF follows
    unified += text[i] == '\r' ? '\n' : text[i];
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < unified.size()) {
    const size_t end = unified.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(unified.substr(start));
      break;
    }
    lines.push_back(unified.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string ModelText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Naive model of the save's drop: for each dropped line in turn, the first equal line still there goes.
std::vector<std::string> ModelKept(std::vector<std::string> lines, const std::vector<std::string>& dropped) {
  for (const std::string& line : dropped) {
    for (auto at = lines.begin(); at != lines.end(); ++at)
      if (*at == line) {
        lines.erase(at);
        break;
      }
  }
  return lines;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses which lines to mark; the rest is the index file.
  if (size == 0) return 0;
  const uint8_t markSeed = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<std::string> lines = ReadIndexLines(bytes);
  const std::vector<std::string> expected = ModelLines(bytes);
  Check(lines == expected);
  Check(WriteIndexText(lines) == ModelText(expected));
  // Written text read back gives the same lines.
  Check(ReadIndexLines(WriteIndexText(lines)) == lines);

  // The same bytes after a byte-order mark are UTF-16LE; written and read again they give the
  // same lines.
  const TIndexText wide = ReadIndexText("\xFF\xFE" + std::string(bytes));
  Check(wide.encoding == TIndexEncoding::Utf16Le && ReadIndexText(WriteIndexText(wide)) == wide);

  TCacheEntryLookup lookup(lines);
  const std::vector<std::string> read = lines;
  std::vector<std::string> dropped;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string name = ExtractField(2, lines[i], "=");
    Check(lookup.Find(name) == FindEntryLine(lines, name));
    if (((markSeed >> (i % 8)) & 1) == 0) continue;
    dropped.push_back(lines[i]);
    MarkLine(lines, static_cast<int>(i));
    lookup.NoteMarked(lines, static_cast<int>(i));
    Check(lookup.Find(name) == FindEntryLine(lines, name));
    Check(lookup.Find(ExtractField(2, lines[i], "=")) == FindEntryLine(lines, ExtractField(2, lines[i], "=")));
  }
  std::vector<std::string> kept;
  for (const size_t line : KeptLines(read, dropped)) kept.push_back(read[line]);
  Check(kept == ModelKept(read, dropped));
  Check(WriteIndexText(kept) == ModelText(kept));
  return 0;
}
