#include "job/copy_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "win/files.h"
#include "core/exceptions.h"
#include "win/handles.h"
#include "job/job_texts.h"
#include "job/job_seams.h"

namespace {

// Touching the progress bar costs far more than copying a chunk, and so does a look at the message
// queue: both are done on a clock, often enough that the window answers within a few tens of ms.
constexpr int64_t MessageIntervalMicroseconds = 12000;
constexpr int64_t ProgressIntervalMicroseconds = 30000;

int64_t NowMicroseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

constexpr const char* StagingFolderName = "~pn\\";
constexpr int MaxNameAttempts = 1000;  // names held by copies of other runs still in progress

// An existing destination must be replaceable before anything is copied: not a folder, not
// read-only, and not open elsewhere.
bool CanReplace(const std::string& dest, DWORD attributes) {
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
  TFileHandle probe(::CreateFileA(dest.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe.Valid();
}

// Every file a killed copy may have left in a staging folder; one still open elsewhere stays.
void RemoveLeftovers(const std::string& staging) {
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((staging + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry))
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA((staging + entry.cFileName).c_str());
}

// The file a copy is written to, in the staging folder: removed on every path unless it has been
// put in the destination's place.
class TOutputFile {
public:
  TOutputFile(const std::string& dest, TStagingFolders& staging) : dest_(dest) {
    // The folder must exist (no folder is ever made for a destination) and an existing
    // destination must be replaceable; both are known before a byte is read.
    if (!staging.IsSurelyNew(dest)) {
      const DWORD attributes = ::GetFileAttributesA(dest.c_str());
      const bool blocked =
          attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() != ERROR_FILE_NOT_FOUND : !CanReplace(dest, attributes);
      if (blocked) return;
    }
    handle_.Reset(staging.CreateTemporaryFile(FolderOf(dest), path_));
  }
  ~TOutputFile() {
    handle_.Reset();
    if (!path_.empty()) ::DeleteFileA(path_.c_str());
  }
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  bool Created() const { return handle_.Valid(); }
  HANDLE Handle() const { return handle_.Get(); }

  // Closes the complete, flushed copy and gives it the destination's name in one step.
  bool Commit() {
    handle_.Reset();
    if (!::MoveFileExA(path_.c_str(), dest_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return false;
    path_.clear();
    return true;
  }

private:
  std::string dest_;
  std::string path_;  // what is written to, removed unless committed
  TFileHandle handle_;
};

int ProgressValue(int64_t bytes) { return bytes > INT32_MAX ? INT32_MAX : static_cast<int>(bytes); }

}  // namespace

TCopyIo TCopyIo::Standard(TRawWrite rawWrite) {
  TCopyIo io;
  io.Read = [](HANDLE file, void* buffer, DWORD size, DWORD& bytesRead) {
    return ::ReadFile(file, buffer, size, &bytesRead, nullptr) != 0;
  };
  io.Write = [rawWrite](HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return rawWrite(file, data, size, &written, nullptr) != 0 && written == size;
  };
  io.Flush = [](HANDLE file) { return ::FlushFileBuffers(file) != 0; };
  io.Delete = [](const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; };
  return io;
}

TStagingFolders::~TStagingFolders() {
  for (const std::string& folder : folders_) ::RemoveDirectoryA(folder.c_str());  // fails while not empty
}

bool TStagingFolders::IsSurelyNew(const std::string& dest) {
  return destinations_.IsSurelyAbsent(FolderOf(dest), FileNameOf(dest));
}

HANDLE TStagingFolders::CreateTemporaryFile(const std::string& destFolder, std::string& path) {
  const std::string staging = destFolder + StagingFolderName;
  if (std::find(folders_.begin(), folders_.end(), staging) == folders_.end()) {
    if (!::CreateDirectoryA(staging.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
      return INVALID_HANDLE_VALUE;
    folders_.push_back(staging);
    RemoveLeftovers(staging);
  }
  for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
    path = staging + std::to_string(++counter_);
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    // A name still held by another copy in progress is passed over; anything else is final.
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  path.clear();
  return INVALID_HANDLE_VALUE;
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io) {
  TStagingFolders staging;
  CopyFileWithProgress(Source, Dest, progress, io, staging);
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io,
                          TStagingFolders& staging) {
  const std::string dest = FullPathOf(Dest);
  const int64_t size = FileSizeOf(Source);  // -1 when missing: the open below fails
  progress.SetProgressRange(ProgressValue(size + ProgressHeadroom));
  progress.SetProgressPosition(0);

  std::vector<char> buffer(CopyBufferSize);
  TFileHandle source(::CreateFileA(Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) throw Exception(IntegrationTexts::ErrorOpeningFile);
  TOutputFile copy(dest, staging);
  if (!copy.Created()) throw Exception(IntegrationTexts::ErrorCreatingOutputFile);

  int64_t copied = 0;
  int shownPosition = 0;
  int64_t nextMessages = 0;  // the first chunk of every file looks at the queue
  int64_t nextProgress = NowMicroseconds() + ProgressIntervalMicroseconds;
  for (;;) {
    DWORD bytesRead = 0;
    if (!io.Read(source.Get(), buffer.data(), CopyBufferSize, bytesRead))
      throw Exception(IntegrationTexts::ErrorReadingFile);
    if (bytesRead > 0 && !io.Write(copy.Handle(), buffer.data(), bytesRead))
      throw Exception(IntegrationTexts::ErrorWritingOutputFile);
    copied += bytesRead;
    const int64_t now = NowMicroseconds();
    if (now >= nextProgress && ProgressValue(copied) != shownPosition) {
      shownPosition = ProgressValue(copied);
      progress.SetProgressPosition(shownPosition);
      nextProgress = now + ProgressIntervalMicroseconds;
    }
    if (now >= nextMessages) {
      progress.ProcessPendingMessages();
      nextMessages = NowMicroseconds() + MessageIntervalMicroseconds;
    }
    if (bytesRead < CopyBufferSize) break;
  }
  if (!io.Flush(copy.Handle())) throw Exception(IntegrationTexts::ErrorWritingOutputFile);
  source.Reset();
  if (!copy.Commit()) throw Exception(IntegrationTexts::ErrorCreatingOutputFile);
  progress.SetProgressPosition(ProgressValue(copied));
}
