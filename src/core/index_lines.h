#pragma once
// The cache index file as lines: how the game's cache.ini is read into lines and written back,
// and the look-up, marking and purging of entry lines. An entry line is a key, "=" and the
// package's real file name; every other line (header, comments, blanks) is kept as it is.
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The game stores each cached package beside the index under its key followed by this.
inline constexpr const char* PayloadExtension = ".uxx";

// The lines of the file's bytes. A NUL ends the text. CR, LF and CR LF each end one line (so LF CR
// is two line ends with an empty line between); a line end at the very end adds no empty line,
// and an empty text gives no lines.
std::vector<std::string> ReadIndexLines(std::string_view fileBytes);

// Every line followed by CR LF, the last one included.
std::string WriteIndexText(const std::vector<std::string>& lines);

// The game writes its index in the code page, or in UTF-16LE with a byte-order mark (FF FE) when a
// name does not fit the code page.
enum class TIndexEncoding { CodePage, Utf16Le };

// The index file's lines in its own encoding: each line the bytes it has in the file (two per
// character in UTF-16LE), without its line end.
struct TIndexText {
  TIndexEncoding encoding = TIndexEncoding::CodePage;
  std::vector<std::string> lines;
  bool operator==(const TIndexText&) const = default;
};

// The lines of the file's bytes by ReadIndexLines' rules, applied to UTF-16LE characters after a
// byte-order mark (a NUL character ends the text there, an odd last byte is no character).
TIndexText ReadIndexText(std::string_view fileBytes);

// The file's bytes: every line followed by CR LF in its encoding, after the byte-order mark for
// UTF-16LE.
std::string WriteIndexText(const TIndexText& text);

// The first line, line 0 included, whose second field at "=" equals name byte for byte; -1 when
// none does. A marked line still matches: its "~" joins the first field.
int FindEntryLine(const std::vector<std::string>& lines, std::string_view name);

// Puts "~" in front of line index. Throws EListError "List index out of bounds (%d)" when index
// is outside the lines.
void MarkLine(std::vector<std::string>& lines, int index);

// The places of the lines that stay when, for each of dropped, the first line equal to it that is
// still there goes, in their order: how a save takes the lines a command handled out of the index
// as it stands now, whatever else changed in it.
std::vector<size_t> KeptLines(const std::vector<std::string>& lines, const std::vector<std::string>& dropped);

// Of keys, those (each once, in order) that the first field of no line names, letter case of a..z
// ignored as the file system ignores it: the payloads of these keys are named by no line any more.
std::vector<std::string> KeysNamedByNone(const std::vector<std::string>& keys, const std::vector<std::string>& lines);

// FindEntryLine's answer in constant time for a run that looks up many names: built once from the
// lines, it stays exact while lines are marked, provided each mark is reported to NoteMarked.
// Any other change to the lines (purge, load) needs a new look-up.
class TCacheEntryLookup {
public:
  explicit TCacheEntryLookup(const std::vector<std::string>& lines);
  // A copy would point into the original's table; a move keeps the table's nodes.
  TCacheEntryLookup(const TCacheEntryLookup&) = delete;
  TCacheEntryLookup& operator=(const TCacheEntryLookup&) = delete;
  TCacheEntryLookup(TCacheEntryLookup&&) = default;
  TCacheEntryLookup& operator=(TCacheEntryLookup&&) = default;

  // Same result as FindEntryLine(lines, name) on the lines as they are now.
  int Find(std::string_view name) const;

  // Line index has just been changed (marked); its second field may differ now ("=X" marked is
  // "~=X", whose second field is X). lines are the lines after the change.
  void NoteMarked(const std::vector<std::string>& lines, int index);

private:
  struct TNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  using TLinesByName = std::unordered_map<std::string, std::set<int>, TNameHash, std::equal_to<>>;

  TLinesByName linesByName_;
  // For each line, the entry of the name it is filed under (nodes of the map never move).
  std::vector<TLinesByName::value_type*> entryOfLine_;
};
