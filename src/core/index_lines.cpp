#include "core/index_lines.h"

#include <algorithm>

#include "core/exceptions.h"
#include "core/text_rules.h"

namespace {

std::string NameOf(std::string_view line) { return ExtractField(2, line, "="); }

}  // namespace

std::vector<std::string> ReadIndexLines(std::string_view fileBytes) {
  const std::string_view text = fileBytes.substr(0, fileBytes.find('\0'));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

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

void PurgeMarkedLines(std::vector<std::string>& lines) {
  // '~' is above 32, so a line that starts with it is never blank.
  std::erase_if(lines, [](const std::string& line) { return !line.empty() && line[0] == '~'; });
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
