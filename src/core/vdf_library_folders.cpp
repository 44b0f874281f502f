#include "core/vdf_library_folders.h"

#include <algorithm>
#include <optional>

#include "core/text_rules.h"
#include "core/absolute_paths.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsNumber(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Reads the text as a series of tokens: braces, and strings quoted or bare.
class TVdfTokens {
 public:
  enum TKind { tkString, tkOpen, tkClose, tkEnd };

  explicit TVdfTokens(std::string_view text) : Text(text) {
    if (Text.substr(0, 3) == "\xEF\xBB\xBF") Pos = 3;  // a UTF-8 byte order mark
  }

  // The next token; a string's text is left in Value. tkEnd at the end of the text or at a string
  // without its closing quote.
  TKind Next() {
    SkipBlanksAndComments();
    if (Pos >= Text.size()) return tkEnd;
    const char c = Text[Pos];
    if (c == '{' || c == '}') {
      ++Pos;
      return c == '{' ? tkOpen : tkClose;
    }
    if (c == '"') return ReadQuoted() ? tkString : tkEnd;
    ReadBare();
    return tkString;
  }

  std::string Value;

 private:
  void SkipBlanksAndComments() {
    for (;;) {
      while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
      if (Text.substr(Pos, 2) == "//") {
        Pos = std::min(Text.find('\n', Pos), Text.size());
      } else if (Pos < Text.size() && Text[Pos] == '[') {
        // A condition such as [$WIN32] after a pair: it decides nothing here.
        Pos = std::min(Text.find(']', Pos), Text.size() - 1) + 1;
      } else {
        return;
      }
    }
  }

  bool ReadQuoted() {
    Value.clear();
    for (size_t i = Pos + 1; i < Text.size(); ++i) {
      const char c = Text[i];
      if (c == '"') {
        Pos = i + 1;
        return true;
      }
      if (c == '\\' && i + 1 < Text.size() && (Text[i + 1] == '\\' || Text[i + 1] == '"')) ++i;
      Value += Text[i];
    }
    Pos = Text.size();
    return false;
  }

  void ReadBare() {
    const size_t start = Pos;
    while (Pos < Text.size() && !IsBlank(Text[Pos]) && Text[Pos] != '"' && Text[Pos] != '{' && Text[Pos] != '}')
      ++Pos;
    Value.assign(Text.substr(start, Pos - start));
  }

  std::string_view Text;
  size_t Pos = 0;
};

}  // namespace

std::vector<std::string> ReadLibraryFolderPaths(std::string_view vdfText) {
  std::vector<std::string> paths;
  std::vector<std::string> blocks;  // the names of the blocks around the reading position
  std::optional<std::string> key;   // a key read, waiting for its value or its block
  TVdfTokens tokens(vdfText);
  for (auto token = tokens.Next(); token != TVdfTokens::tkEnd; token = tokens.Next()) {
    if (token == TVdfTokens::tkOpen) {
      blocks.push_back(key.value_or(""));
      key.reset();
    } else if (token == TVdfTokens::tkClose) {
      if (!blocks.empty()) blocks.pop_back();
      key.reset();
    } else if (!key) {
      key = std::move(tokens.Value);
    } else {
      const bool isFolder =
          EqualsIgnoringAsciiCase(*key, "path") ||
          (IsNumber(*key) && !blocks.empty() && EqualsIgnoringAsciiCase(blocks.back(), "LibraryFolders"));
      if (isFolder && IsAbsolutePathWithoutControlBytes(tokens.Value, NoLeadBytes))
        paths.push_back(std::move(tokens.Value));
      key.reset();
    }
  }
  return paths;
}
