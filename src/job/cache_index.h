#pragma once
// The open cache: the lines of the game's cache.ini, the folder and file name it was read from,
// and the operations the listing and the commands perform on it. The game keeps writing the file
// while it runs, so a save reads it again and changes only the lines the command handled.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/index_lines.h"
#include "win/handles.h"

// The file operations of a save, each false on failure; replaceable so that a test can make a
// write fail part way or see their order. Write must write all of bytes; Flush must have the file's
// bytes on the disk; Replace puts the file at from in the place of the file at to in one step.
struct TIndexIo {
  std::function<bool(HANDLE file, std::string_view bytes)> Write;
  std::function<bool(HANDLE file)> Flush;
  std::function<bool(const std::string& from, const std::string& to)> Replace;

  static TIndexIo Standard();
};

// The whole file in one piece, shared with readers only, so that nobody writes it while it is
// read, and closed before this returns. Raises "Cannot open file "<full path>". <system text>"
// when it cannot be opened, "Stream read error" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// A failure with a file, "<format's words> "<full path>". <the system's reason>" (the texts of
// cache_index_texts.h, such as CannotOpenFileText).
std::string FileErrorText(const char* format, const std::string& path, DWORD error);

// Replaces the file at path with bytes, the way the index is saved: written to path + ".~pn" and a
// number beside it (such files left by a writer that was killed are removed first), flushed, and
// put in its place in one step, so a failure leaves the former file as it was. Raises "Cannot
// create file "<full path>". <system text>" when the file cannot be replaced, "Stream write
// error" when writing fails.
void ReplaceFileBytes(const std::string& path, std::string_view bytes, const TIndexIo& io = TIndexIo::Standard());

// What a load found: an index with entries, or one of fewer than two lines, which the caller
// reports as "The cache is empty.".
enum class TIndexLoad { Loaded, Empty };

class TCacheIndex {
public:
  explicit TCacheIndex(TIndexIo io = TIndexIo::Standard());

  // Reads the file (shared with readers only) into the lines: in the code page, or in UTF-16LE
  // after its byte-order mark, each line then given in the code page (a character it cannot spell
  // as '?', which makes the name no safe file name). An index of fewer than two lines leaves no
  // index loaded and gives Empty. Raises "Cannot open file "<full path>". <system text>" when the
  // file cannot be opened; the lines are then present and empty and CacheDir/CacheFileName keep
  // their former values.
  [[nodiscard]] TIndexLoad LoadCacheIndex(const std::string& path);

  // The first line whose real file name equals name exactly; -1 when none does or no index is
  // loaded.
  int FindCacheEntry(const std::string& name) const;

  // Puts "~" in front of line index; EListError "List index out of bounds (%d)" outside the lines.
  void MarkCacheEntry(int index);

  // Drops the marked lines (those MarkCacheEntry marked since the last load) from the file at
  // path: the file is read again first, and of its lines
  // as they stand now (the game may have added or removed some since the load) one equal to each
  // marked line is dropped; every other line is written back byte for byte in the file's own
  // encoding, each ending in CR LF. The new text goes to a temporary file beside it (path +
  // ".~pn1"), is flushed, and takes the index's place in one step, so a failure leaves the former
  // file as it was; such files left by a save that was killed are removed first. Returns the lines
  // the file holds now, as a load would list them. Raises "Cannot create file "<full path>".
  // <system text>" when the file cannot be replaced, the load's error when it cannot be read and
  // "Stream write error" when writing fails. The lines in memory are left as they are.
  std::vector<std::string> SaveCacheIndex(const std::string& path);

  bool Loaded() const { return lines_.has_value(); }
  // The lines; empty when no index is loaded.
  const std::vector<std::string>& CacheList() const;
  // The lines for direct change. Fetching them drops the look-up that FindCacheEntry keeps, so
  // fetch them anew after each FindCacheEntry that precedes a change. Creates an empty list when
  // no index is loaded.
  std::vector<std::string>& MutableLines();
  const std::string& CacheDir() const { return cacheDir_; }
  const std::string& CacheFileName() const { return cacheFileName_; }

private:
  TIndexIo io_;
  std::optional<std::vector<std::string>> lines_;
  std::vector<int> marked_;  // the lines marked since the lines last changed otherwise
  std::string cacheDir_;
  std::string cacheFileName_;
  // Built on the first look-up after the lines last changed wholesale.
  mutable std::unique_ptr<TCacheEntryLookup> lookup_;
};
