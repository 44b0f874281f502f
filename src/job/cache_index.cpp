#include "job/cache_index.h"

#include <algorithm>
#include <cstdint>

#include "job/cache_index_texts.h"
#include "win/files.h"
#include "core/exceptions.h"

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

constexpr const char* ReplacementSuffix = ".~pn";

// The replacement files that saves of this index killed half way have left beside it: the
// suffix and a number. One that another save still holds open stays.
void RemoveLeftoverReplacements(const std::string& indexPath) {
  const std::string pattern = indexPath + ReplacementSuffix;
  const std::string folder = FolderOf(indexPath);
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((pattern + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry)) {
    const std::string_view name = entry.cFileName;
    const std::string_view number = name.substr(std::min(name.size(), FileNameOf(pattern).size()));
    const bool numbered = !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    if (numbered && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ::DeleteFileA((folder + entry.cFileName).c_str());
  }
}

// Why the file at path could not be replaced, or 0 when nothing stands in the way. Asked before
// the replace because the emulated file system lets a rename pass over a read-only file or one
// that another holder keeps open unshared, where the real one refuses.
DWORD ReplaceBlocker(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;  // a new index is fine; a missing folder is not
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  // Write and delete access with every sharing allowed: refused exactly when someone holds the
  // file without sharing writes or deletion, or when rights are missing.
  TFileHandle probe(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? 0 : ::GetLastError();
}

// The new text's file beside the index: removed again unless it has taken the index's place.
class TReplacementFile {
public:
  explicit TReplacementFile(const std::string& indexPath) {
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
      path_ = indexPath + ReplacementSuffix + std::to_string(attempt);
      file_.Reset(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file_) {
        created_ = true;
        return;
      }
      error_ = ::GetLastError();
      if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
    }
  }
  ~TReplacementFile() {
    file_.Reset();
    if (created_ && !placed_) ::DeleteFileA(path_.c_str());
  }
  TReplacementFile(const TReplacementFile&) = delete;
  TReplacementFile& operator=(const TReplacementFile&) = delete;

  bool Created() const { return created_; }
  DWORD CreateError() const { return error_; }
  HANDLE Handle() const { return file_.Get(); }
  void Close() { file_.Reset(); }

  // Puts the file in the index's place; false with the system's error when refused.
  bool Replace(const std::string& indexPath, const TIndexIo& io) {
    placed_ = io.Replace(path_, indexPath);
    return placed_;
  }

private:
  static constexpr int MaxAttempts = 100;  // names held by saves of other processes in progress
  std::string path_;
  TFileHandle file_;
  DWORD error_ = 0;
  bool created_ = false;
  bool placed_ = false;
};

}  // namespace

TIndexIo TIndexIo::Standard() {
  TIndexIo io;
  io.Write = [](HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    return bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                             written == bytes.size());
  };
  io.Flush = [](HANDLE file) { return ::FlushFileBuffers(file) != 0; };
  io.Replace = [](const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  };
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
  RemoveLeftoverReplacements(path);
  TReplacementFile replacement(path);
  if (!replacement.Created()) throw FileError(CannotCreateFileText, path, replacement.CreateError());
  if (!io_.Write(replacement.Handle(), text) || !io_.Flush(replacement.Handle())) throw Exception(StreamWriteErrorText);
  replacement.Close();
  if (!replacement.Replace(path, io_)) throw FileError(CannotCreateFileText, path, ::GetLastError());
}

const std::vector<std::string>& TCacheIndex::CacheList() const {
  static const std::vector<std::string> noLines;
  return lines_ ? *lines_ : noLines;
}

std::vector<std::string>& TCacheIndex::MutableLines() {
  lookup_.reset();
  return lines_ ? *lines_ : lines_.emplace();
}
