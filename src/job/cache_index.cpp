#include "job/cache_index.h"

#include <cstdint>

#include "core/exceptions.h"
#include "job/cache_index_texts.h"
#include "win/file_replacement.h"
#include "win/files.h"

std::string FileErrorText(const char* format, const std::string& path, DWORD error) {
  return FormatText(format, FullPathOf(path).c_str(), SystemErrorText(error).c_str());
}

namespace {

Exception FileError(const char* format, const std::string& path, DWORD error) {
  return Exception(FileErrorText(format, path, error));
}

// A save's new text is written beside the index under its name and this suffix and a number.
constexpr const char* ReplacementSuffix = ".~pn";

// The lines of the file's text as the commands see them, in the code page.
std::vector<std::string> ListedLines(const TIndexText& text) {
  if (text.encoding == TIndexEncoding::CodePage) return text.lines;
  std::vector<std::string> lines;
  lines.reserve(text.lines.size());
  bool fits = true;
  for (const std::string& line : text.lines) lines.push_back(AnsiOfUtf16(line, fits));
  return lines;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  TFileHandle file(
      ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(CannotOpenFileText, path, ::GetLastError());
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > INT32_MAX) throw Exception(StreamReadErrorText);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() && !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    throw Exception(StreamReadErrorText);
  bytes.resize(got);  // a file that shrank since it was sized gives what it still holds
  return bytes;
}

TIndexIo TIndexIo::Standard() {
  TIndexIo io;
  io.Write = [](HANDLE file, std::string_view bytes) {
    return WriteAllBytes(file, bytes.data(), static_cast<DWORD>(bytes.size()));
  };
  io.Flush = [](HANDLE file) { return ::FlushFileBuffers(file) != 0; };
  io.Replace = MoveReplacing;
  return io;
}

TCacheIndex::TCacheIndex(TIndexIo io) : io_(std::move(io)) {}

TIndexLoad TCacheIndex::LoadCacheIndex(const std::string& path) {
  lookup_.reset();
  marked_.clear();
  if (lines_)
    lines_->clear();
  else
    lines_.emplace();
  *lines_ = ListedLines(ReadIndexText(ReadWholeFile(path)));
  cacheFileName_ = FileNameOf(path);
  cacheDir_ = FolderOf(path);
  if (lines_->size() >= 2) return TIndexLoad::Loaded;
  // Discarded before the caller's box, so that nothing run while it is open sees the header alone.
  lines_.reset();
  return TIndexLoad::Empty;
}

int TCacheIndex::FindCacheEntry(const std::string& name) const {
  if (!lines_) return -1;
  if (!lookup_) lookup_ = std::make_unique<TCacheEntryLookup>(*lines_);
  return lookup_->Find(name);
}

void TCacheIndex::MarkCacheEntry(int index) {
  std::vector<std::string> noLines;  // with no index loaded every index is out of bounds
  std::vector<std::string>& lines = lines_ ? *lines_ : noLines;
  MarkLine(lines, index);
  marked_.push_back(index);
  if (lookup_) lookup_->NoteMarked(lines, index);
}

std::vector<std::string> TCacheIndex::SaveCacheIndex(const std::string& path) {
  if (const DWORD blocker = ReplaceBlocker(path)) throw FileError(CannotCreateFileText, path, blocker);
  std::vector<std::string> handled;  // the marked lines as they were before their marks
  for (const int line : marked_) handled.push_back(CacheList()[static_cast<size_t>(line)].substr(1));
  const TIndexText fresh = ReadIndexText(ReadWholeFile(path));
  const std::vector<std::string> listed = ListedLines(fresh);
  TIndexText kept{fresh.encoding, {}};
  std::vector<std::string> keptListed;
  for (const size_t line : KeptLines(listed, handled)) {
    kept.lines.push_back(fresh.lines[line]);
    keptListed.push_back(listed[line]);
  }
  ReplaceFileBytes(path, WriteIndexText(kept), io_);
  return keptListed;
}

void ReplaceFileBytes(const std::string& path, std::string_view bytes, const TIndexIo& io) {
  if (const DWORD blocker = ReplaceBlocker(path)) throw FileError(CannotCreateFileText, path, blocker);
  RemoveNumberedLeftovers(path + ReplacementSuffix);
  TReplacementFile replacement(path + ReplacementSuffix);
  if (!replacement.Created()) throw FileError(CannotCreateFileText, path, replacement.CreateError());
  if (!io.Write(replacement.Handle(), bytes) || !io.Flush(replacement.Handle())) throw Exception(StreamWriteErrorText);
  if (!replacement.Replace(path, io.Replace)) throw FileError(CannotCreateFileText, path, ::GetLastError());
}

const std::vector<std::string>& TCacheIndex::CacheList() const {
  static const std::vector<std::string> noLines;
  return lines_ ? *lines_ : noLines;
}

std::vector<std::string>& TCacheIndex::MutableLines() {
  lookup_.reset();
  marked_.clear();
  return lines_ ? *lines_ : lines_.emplace();
}
