#include "job/cache_index.h"

#include <cstdint>

#include "core/exceptions.h"
#include "job/cache_index_texts.h"
#include "win/file_replacement.h"
#include "win/files.h"

namespace {

Exception FileError(const char* format, const std::string& path, DWORD error) {
  return Exception(FormatText(format, FullPathOf(path).c_str(), SystemErrorText(error).c_str()));
}

// The whole file in one piece. It is shared with readers only, so that nobody writes it while it
// is read, and closed before this returns.
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

// A save's new text is written beside the index under its name and this suffix and a number.
constexpr const char* ReplacementSuffix = ".~pn";

}  // namespace

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
  if (lines_)
    lines_->clear();
  else
    lines_.emplace();
  *lines_ = ReadIndexLines(ReadWholeFile(path));
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
  if (lookup_) lookup_->NoteMarked(lines, index);
}

void TCacheIndex::PurgeMarkedEntries() {
  if (!lines_) return;
  lookup_.reset();
  PurgeMarkedLines(*lines_);
}

void TCacheIndex::SaveCacheIndex(const std::string& path) {
  const std::string text = WriteIndexText(CacheList());
  if (const DWORD blocker = ReplaceBlocker(path)) throw FileError(CannotCreateFileText, path, blocker);
  RemoveNumberedLeftovers(path + ReplacementSuffix);
  TReplacementFile replacement(path + ReplacementSuffix);
  if (!replacement.Created()) throw FileError(CannotCreateFileText, path, replacement.CreateError());
  if (!io_.Write(replacement.Handle(), text) || !io_.Flush(replacement.Handle())) throw Exception(StreamWriteErrorText);
  if (!replacement.Replace(path, io_.Replace)) throw FileError(CannotCreateFileText, path, ::GetLastError());
}

const std::vector<std::string>& TCacheIndex::CacheList() const {
  static const std::vector<std::string> noLines;
  return lines_ ? *lines_ : noLines;
}

std::vector<std::string>& TCacheIndex::MutableLines() {
  lookup_.reset();
  return lines_ ? *lines_ : lines_.emplace();
}
