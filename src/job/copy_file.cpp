#include "job/copy_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/exceptions.h"
#include "job/job_seams.h"
#include "job/job_texts.h"
#include "win/file_replacement.h"
#include "win/files.h"
#include "win/handles.h"

namespace {

// Touching the progress bar costs far more than copying a chunk, and so does a look at the message
// queue: both are done on a clock, often enough that the window answers within a few tens of ms.
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

int ProgressValue(int64_t bytes) { return bytes > INT32_MAX ? INT32_MAX : static_cast<int>(bytes); }

}  // namespace

TOutputFile::TOutputFile(const std::string& dest, TStagingFolders& staging) {
  if (!staging.IsSurelyNew(dest) && ReplaceBlocker(dest) != 0) return;
  const std::string prefix = staging.TemporaryPrefix(FolderOf(dest));
  if (!prefix.empty()) file_.emplace(prefix);
}

TProgressClock::TProgressClock(IProgress& progress, int64_t size, TMessageClock& messages)
    : progress_(progress), messages_(messages), nextProgress_(NowMicroseconds() + ProgressIntervalMicroseconds) {
  progress_.SetProgressRange(ProgressValue(size + ProgressHeadroom));
  progress_.SetProgressPosition(0);
}

void TProgressClock::Advance(int64_t bytes) {
  done_ += bytes;
  const int64_t now = NowMicroseconds();
  if (now >= nextProgress_ && ProgressValue(done_) != shownPosition_) {
    shownPosition_ = ProgressValue(done_);
    progress_.SetProgressPosition(shownPosition_);
    nextProgress_ = now + ProgressIntervalMicroseconds;
  }
  if (now >= messages_.NextMicroseconds) {
    if (messages_.BeforeLook) messages_.BeforeLook();
    progress_.ProcessPendingMessages();
    messages_.NextMicroseconds = NowMicroseconds() + messages_.IntervalMicroseconds;
  }
}

void TProgressClock::Finish() { progress_.SetProgressPosition(ProgressValue(done_)); }

TCopyIo TCopyIo::Standard(TRawWrite rawWrite) {
  TCopyIo io;
  io.Read = [](HANDLE file, void* buffer, DWORD size, DWORD& bytesRead) {
    return ::ReadFile(file, buffer, size, &bytesRead, nullptr) != 0;
  };
  io.Write = [rawWrite](HANDLE file, const void* data, DWORD size) { return WriteAllBytes(file, data, size, rawWrite); };
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

std::string TStagingFolders::TemporaryPrefix(const std::string& destFolder) {
  const std::string staging = destFolder + StagingFolderName;
  if (std::find(folders_.begin(), folders_.end(), staging) == folders_.end()) {
    if (!::CreateDirectoryA(staging.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    folders_.push_back(staging);
    RemoveNumberedLeftovers(staging);
  }
  return staging;
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io) {
  TStagingFolders staging;
  CopyFileWithProgress(Source, Dest, progress, io, staging);
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io,
                          TStagingFolders& staging) {
  const std::string dest = FullPathOf(Dest);
  TMessageClock messages;  // the first chunk of every file looks at the queue
  TProgressClock clock(progress, FileSizeOf(Source), messages);  // -1 when missing: the open below fails

  std::vector<char> buffer(CopyBufferSize);
  TFileHandle source(::CreateFileA(Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) throw Exception(JobTexts::ErrorOpeningFile);
  TOutputFile copy(dest, staging);
  if (!copy.Created()) throw Exception(JobTexts::ErrorCreatingOutputFile);

  for (;;) {
    DWORD bytesRead = 0;
    if (!io.Read(source.Get(), buffer.data(), CopyBufferSize, bytesRead))
      throw Exception(JobTexts::ErrorReadingFile);
    if (bytesRead > 0 && !io.Write(copy.Handle(), buffer.data(), bytesRead))
      throw Exception(JobTexts::ErrorWritingOutputFile);
    clock.Advance(bytesRead);
    if (bytesRead < CopyBufferSize) break;
  }
  if (!io.Flush(copy.Handle())) throw Exception(JobTexts::ErrorWritingOutputFile);
  source.Reset();
  if (!copy.Commit(dest)) throw Exception(JobTexts::ErrorCreatingOutputFile);
  clock.Finish();
}
