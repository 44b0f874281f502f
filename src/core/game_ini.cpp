#include "core/game_ini.h"

#include <algorithm>
#include <vector>

#include "core/absolute_paths.h"

namespace {

constexpr std::string_view CacheSection = "Core.System";
constexpr std::string_view CacheKey = "CachePath";

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

}  // namespace

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
