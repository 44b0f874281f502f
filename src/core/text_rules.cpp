#include "core/text_rules.h"

namespace {

bool IsDelimiter(char c, std::string_view delimiters) { return delimiters.find(c) != std::string_view::npos; }

// Position of the last byte of path that is one of delimiters and not the trail byte of a
// double-byte character, or npos. The scan runs forward because only a forward scan can tell
// lead bytes from trail bytes.
size_t LastDelimiter(std::string_view path, std::string_view delimiters, TLeadByteTest isLeadByte) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;  // the pair is one character and holds no delimiter
      continue;
    }
    if (IsDelimiter(path[i], delimiters)) last = i;
  }
  return last;
}

}  // namespace

bool NoLeadBytes(unsigned char) { return false; }

std::string ExtractField(int n, std::string_view s, std::string_view delimiters) {
  if (n <= 0) return {};
  size_t i = 0;
  int count = 0;
  while (i < s.size()) {
    while (i < s.size() && IsDelimiter(s[i], delimiters)) ++i;
    if (i == s.size()) break;
    const size_t start = i;
    while (i < s.size() && !IsDelimiter(s[i], delimiters)) ++i;
    if (++count == n) return std::string(s.substr(start, i - start));
  }
  return {};
}

std::string AddTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (result.size() == 2 && result[1] == ':') return result + '\\';
  if (result.size() < 3 || result.back() == '\\') return result;
  return result + '\\';
}

std::string FileExtOf(std::string_view path, TLeadByteTest isLeadByte) {
  const size_t last = LastDelimiter(path, ".\\:", isLeadByte);
  if (last == std::string_view::npos || path[last] != '.') return {};
  return std::string(path.substr(last));
}

std::string FileNameOf(std::string_view path, TLeadByteTest isLeadByte) {
  const size_t last = LastDelimiter(path, "\\:", isLeadByte);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string FolderOf(std::string_view path, TLeadByteTest isLeadByte) {
  const size_t last = LastDelimiter(path, "\\:", isLeadByte);
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string TrimBlanks(std::string_view s) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && isBlank(s[begin])) ++begin;
  while (end > begin && isBlank(s[end - 1])) --end;
  return std::string(s.substr(begin, end - begin));
}

bool BeginsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string UpperCaseAscii(std::string_view s) {
  std::string result(s);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) { return UpperCaseAscii(a) == UpperCaseAscii(b); }

std::string ShownName(std::string_view name) {
  std::string shown(name);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32) c = '?';
  return shown;
}
