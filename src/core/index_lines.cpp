#include "core/index_lines.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/exceptions.h"
#include "core/text_rules.h"

std::string WriteIndexText(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

namespace {

std::string NameOf(std::string_view line) { return ExtractField(2, line, "="); }

constexpr std::string_view Utf16Mark = "\xFF\xFE";

// UTF-16LE text as one 16-bit character per element and back.
std::u16string Characters(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

std::string Bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// The lines of text by the index's line rules, for either kind of character.
template <typename TChar>
std::vector<std::basic_string<TChar>> SplitLines(std::basic_string_view<TChar> text) {
  static constexpr TChar LineEnds[] = {TChar('\r'), TChar('\n')};
  text = text.substr(0, text.find(TChar(0)));
  std::vector<std::basic_string<TChar>> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(std::basic_string_view<TChar>(LineEnds, 2), start);
    if (end == std::basic_string_view<TChar>::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == TChar('\r') && start < text.size() && text[start] == TChar('\n')) ++start;
  }
  return lines;
}

}  // namespace

std::vector<std::string> ReadIndexLines(std::string_view fileBytes) { return SplitLines(fileBytes); }

TIndexText ReadIndexText(std::string_view fileBytes) {
  if (fileBytes.substr(0, Utf16Mark.size()) != Utf16Mark) return {TIndexEncoding::CodePage, ReadIndexLines(fileBytes)};
  const std::u16string characters = Characters(fileBytes.substr(Utf16Mark.size()));
  TIndexText text{TIndexEncoding::Utf16Le, {}};
  for (const std::u16string& line : SplitLines(std::u16string_view(characters))) text.lines.push_back(Bytes(line));
  return text;
}

std::string WriteIndexText(const TIndexText& text) {
  if (text.encoding == TIndexEncoding::CodePage) return WriteIndexText(text.lines);
  std::string bytes(Utf16Mark);
  for (const std::string& line : text.lines) bytes += line + Bytes(u"\r\n");
  return bytes;
}

std::vector<std::string> KeysNamedByNone(const std::vector<std::string>& keys, const std::vector<std::string>& lines) {
  std::unordered_set<std::string> named;
  for (const std::string& line : lines) named.insert(UpperCaseAscii(ExtractField(1, line, "=")));
  std::vector<std::string> unnamed;
  for (const std::string& key : keys)
    if (named.insert(UpperCaseAscii(key)).second) unnamed.push_back(key);
  return unnamed;
}

int FindEntryLine(const std::vector<std::string>& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (NameOf(lines[i]) == name) return static_cast<int>(i);
  return -1;
}

void MarkLine(std::vector<std::string>& lines, int index) {
  if (index < 0 || static_cast<size_t>(index) >= lines.size())
    throw EListError(FormatText("List index out of bounds (%d)", index));
  lines[static_cast<size_t>(index)].insert(0, 1, '~');
}

std::vector<size_t> KeptLines(const std::vector<std::string>& lines, const std::vector<std::string>& dropped) {
  std::unordered_map<std::string_view, int> toDrop;
  for (const std::string& line : dropped) ++toDrop[line];
  std::vector<size_t> kept;
  kept.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto found = toDrop.find(lines[i]);
    if (found != toDrop.end() && found->second > 0)
      --found->second;
    else
      kept.push_back(i);
  }
  return kept;
}

TCacheEntryLookup::TCacheEntryLookup(const std::vector<std::string>& lines) {
  entryOfLine_.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    auto& entry = *linesByName_.try_emplace(NameOf(lines[i])).first;
    entry.second.emplace_hint(entry.second.end(), static_cast<int>(i));  // ascending: constant time
    entryOfLine_.push_back(&entry);
  }
}

int TCacheEntryLookup::Find(std::string_view name) const {
  const auto found = linesByName_.find(name);
  return found == linesByName_.end() || found->second.empty() ? -1 : *found->second.begin();
}

void TCacheEntryLookup::NoteMarked(const std::vector<std::string>& lines, int index) {
  if (index < 0 || static_cast<size_t>(index) >= entryOfLine_.size() || entryOfLine_.size() != lines.size())
    throw EListError(FormatText("List index out of bounds (%d)", index));
  auto*& filedUnder = entryOfLine_[static_cast<size_t>(index)];
  std::string name = NameOf(lines[static_cast<size_t>(index)]);
  if (name == filedUnder->first) return;
  filedUnder->second.erase(index);  // the emptied entry stays: entryOfLine_ may point at it again
  auto& entry = *linesByName_.try_emplace(std::move(name)).first;
  entry.second.insert(index);
  filedUnder = &entry;
}
