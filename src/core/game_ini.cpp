#include "core/game_ini.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/absolute_paths.h"

namespace {

constexpr std::string_view CacheSection = "Core.System";
constexpr std::string_view CacheKey = "CachePath";
constexpr std::string_view PurgeKey = "PurgeCacheDays";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Adds the segments of relative (split at '\' and '/' that are no trail bytes) to folders,
// dropping empty and "." segments and letting ".." remove the last folder when there is one.
void FoldSegments(std::string_view relative, std::vector<std::string>& folders, TLeadByteTest isLeadByte) {
  std::string segment;
  const auto endSegment = [&] {
    if (segment == "..") {
      if (!folders.empty()) folders.pop_back();
    } else if (!segment.empty() && segment != ".") {
      folders.push_back(segment);
    }
    segment.clear();
  };
  for (size_t i = 0; i < relative.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(relative[i])) && i + 1 < relative.size()) {
      segment += relative.substr(i, 2);
      ++i;
    } else if (IsSeparator(relative[i])) {
      endSegment();
    } else {
      segment += relative[i];
    }
  }
  endSegment();
}

// A line of the settings as the game reads them for PurgeCacheDays: where it stands in the text
// (end without its line end) and whether it opens a section.
struct TIniLine {
  size_t start, end;
  std::string_view text;
};

std::vector<TIniLine> IniLines(std::string_view text) {
  std::vector<TIniLine> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t newline = std::min(text.find('\n', start), text.size());
    size_t end = newline;
    if (end > start && text[end - 1] == '\r') --end;
    lines.push_back({start, end, text.substr(start, end - start)});
    start = newline + 1;
  }
  return lines;
}

bool OpensSection(std::string_view line) { return !line.empty() && line[0] == '['; }

bool IsPurgeSection(std::string_view line) {
  return OpensSection(line) && EqualsIgnoringAsciiCase(ExtractField(1, line, "[]"), CacheSection);
}

bool IsPurgeLine(std::string_view line) {
  const size_t equals = line.find('=');
  return equals != std::string_view::npos && EqualsIgnoringAsciiCase(line.substr(0, equals), PurgeKey);
}

// The place of the line the game reads PurgeCacheDays from: the first such line in a [Core.System]
// section (the game takes sections of one name as one); lines.size() when there is none.
size_t PurgeLine(const std::vector<TIniLine>& lines) {
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (OpensSection(lines[i].text))
      inSection = IsPurgeSection(lines[i].text);
    else if (inSection && IsPurgeLine(lines[i].text))
      return i;
  }
  return lines.size();
}

// The last line of the first [Core.System] section that holds anything (its header when nothing
// else); lines.size() when there is no such section.
size_t EndOfPurgeSection(const std::vector<TIniLine>& lines) {
  size_t header = 0;
  while (header < lines.size() && !IsPurgeSection(lines[header].text)) ++header;
  size_t last = header;
  for (size_t i = header + 1; i < lines.size() && !OpensSection(lines[i].text); ++i)
    if (!TrimBlanks(lines[i].text).empty()) last = i;
  return last;
}

}  // namespace

std::optional<int> ReadPurgeCacheDays(std::string_view iniText) {
  const std::vector<TIniLine> lines = IniLines(iniText);
  const size_t line = PurgeLine(lines);
  if (line == lines.size()) return std::nullopt;
  const std::string value(lines[line].text.substr(lines[line].text.find('=') + 1));
  return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

std::string WithPurgeCacheDays(std::string_view iniText, int days) {
  const std::vector<TIniLine> lines = IniLines(iniText);
  std::string text(iniText);
  const std::string value = std::to_string(days);
  if (const size_t line = PurgeLine(lines); line < lines.size()) {
    const size_t valueStart = lines[line].start + lines[line].text.find('=') + 1;
    return text.replace(valueStart, lines[line].end - valueStart, value);
  }
  const bool lfOnly = !lines.empty() && lines[0].end < iniText.size() && iniText[lines[0].end] == '\n';
  const std::string lineEnd = lfOnly ? "\n" : "\r\n";
  const std::string added = std::string(PurgeKey) + "=" + value;
  const size_t last = EndOfPurgeSection(lines);
  if (last < lines.size()) return text.insert(lines[last].end, lineEnd + added);
  const bool ended = text.empty() || text.back() == '\n';
  return text + (ended ? "" : lineEnd) + "[" + std::string(CacheSection) + "]" + lineEnd + added + lineEnd;
}

std::optional<std::string> ReadGameCachePath(std::string_view iniText) {
  if (iniText.substr(0, 3) == "\xEF\xBB\xBF") iniText.remove_prefix(3);  // saved as UTF-8 by an editor
  bool inCacheSection = false;
  for (size_t start = 0; start < iniText.size();) {
    const size_t end = std::min(iniText.find('\n', start), iniText.size());
    const std::string line = TrimBlanks(iniText.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      inCacheSection = EqualsIgnoringAsciiCase(TrimBlanks(ExtractField(1, line, "[]")), CacheSection);
      continue;
    }
    const size_t equals = line.find('=');
    if (inCacheSection && equals != std::string::npos &&
        EqualsIgnoringAsciiCase(TrimBlanks(std::string_view(line).substr(0, equals)), CacheKey))
      return TrimBlanks(std::string_view(line).substr(equals + 1));
  }
  return std::nullopt;
}

std::optional<std::string> ResolveCacheFolder(std::string_view cachePath, std::string_view systemFolder,
                                              TLeadByteTest isLeadByte) {
  if (cachePath.empty() || HasControlBytes(cachePath) || HasControlBytes(systemFolder)) return std::nullopt;
  std::optional<TPathRoot> root = AbsolutePathRoot(cachePath, isLeadByte);
  std::vector<std::string> folders;
  if (root) {
    FoldSegments(cachePath.substr(root->Length), folders, isLeadByte);
  } else {
    // Two separators lead only a network path, and a drive letter without one a path relative to
    // that drive's current folder: neither has a meaning here.
    if (cachePath.size() >= 2 && (cachePath[1] == ':' || (IsSeparator(cachePath[0]) && IsSeparator(cachePath[1]))))
      return std::nullopt;
    root = AbsolutePathRoot(systemFolder, isLeadByte);
    if (!root) return std::nullopt;
    if (!IsSeparator(cachePath[0])) FoldSegments(systemFolder.substr(root->Length), folders, isLeadByte);
    FoldSegments(cachePath, folders, isLeadByte);
  }
  std::string folder = root->Text;
  for (const std::string& name : folders) folder += name + '\\';
  return folder;
}
