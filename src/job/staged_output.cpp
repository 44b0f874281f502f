#include "job/staged_output.h"

#include <vector>

#include "core/exceptions.h"
#include "job/job_texts.h"
#include "win/handles.h"

namespace {

// Touching the progress bar costs far more than writing a piece of a file, and so does a look at
// the message queue: both are done on a clock, often enough that the window answers within a few
// tens of ms.
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

}  // namespace

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
  for (const auto& staging : nextNumber_) ::RemoveDirectoryA(staging.first.c_str());  // fails while not empty
}

std::unique_ptr<TReplacementFile> TStagingFolders::NewFile(const std::string& targetFolder) {
  const std::string staging = targetFolder + StagingFolderName;
  auto next = nextNumber_.find(staging);
  if (next == nextNumber_.end()) {
    if (!::CreateDirectoryA(staging.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
    RemoveNumberedLeftovers(staging);
    next = nextNumber_.emplace(staging, 1).first;
  }
  auto file = std::make_unique<TReplacementFile>(staging, next->second);
  if (file->Created()) next->second = file->Number() + 1;
  return file;
}

TStagedFile::TStagedFile(std::string target, TStagingFolders& staging, const TCopyIo& io)
    : target_(std::move(target)), io_(io) {
  const std::string folder = FolderOf(target_);
  const bool blocked = !staging.Listings().IsSurelyAbsent(folder, FileNameOf(target_)) && ReplaceBlocker(target_) != 0;
  if (!blocked) file_ = staging.NewFile(folder);
  if (!file_ || !file_->Created()) throw Exception(JobTexts::ErrorCreatingOutputFile);
  sink_.emplace(file_->Handle(), io_.Write, JobTexts::ErrorWritingOutputFile);
}

void TStagedFile::Write(const char* data, size_t size) { sink_->Write(data, size); }

void TStagedFile::Commit() {
  if (!io_.Flush(file_->Handle())) throw Exception(JobTexts::ErrorWritingOutputFile);
  if (!file_->Replace(target_)) throw Exception(JobTexts::ErrorCreatingOutputFile);
}

void TStagedFile::CommitKeeping(const std::string& keepFormerAt) {
  if (!io_.Flush(file_->Handle())) throw Exception(JobTexts::ErrorWritingOutputFile);
  if (!keepFormerAt.empty() && !::MoveFileExA(target_.c_str(), keepFormerAt.c_str(), MOVEFILE_WRITE_THROUGH))
    throw Exception(JobTexts::ErrorCreatingOutputFile);
  const auto moveWithoutReplacing = [](const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  };
  if (file_->Replace(target_, moveWithoutReplacing)) return;
  if (!keepFormerAt.empty()) ::MoveFileExA(keepFormerAt.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH);
  throw Exception(JobTexts::ErrorCreatingOutputFile);
}

TProgressClock::TProgressClock(IProgress& progress, int64_t size, TMessageClock& messages)
    : progress_(progress), messages_(messages), nextProgress_(NowMicroseconds() + ProgressIntervalMicroseconds) {
  // The bar counts in 32-bit numbers: a file of 2 GiB and more is shown in larger units.
  while ((size >> shift_) > INT32_MAX - ProgressHeadroom) ++shift_;
  progress_.SetProgressRange(Position(size) + ProgressHeadroom);
  progress_.SetProgressPosition(0);
}

int TProgressClock::Position(int64_t bytes) const {
  const int64_t units = bytes < 0 ? 0 : bytes >> shift_;
  return units > INT32_MAX ? INT32_MAX : static_cast<int>(units);
}

void TProgressClock::Advance(int64_t bytes) {
  done_ += bytes;
  const int64_t now = NowMicroseconds();
  if (now >= nextProgress_ && Position(done_) != shownPosition_) {
    shownPosition_ = Position(done_);
    progress_.SetProgressPosition(shownPosition_);
    nextProgress_ = now + ProgressIntervalMicroseconds;
  }
  LookAtMessagesOnTime(progress_, messages_);
}

void LookAtMessagesOnTime(IProgress& progress, TMessageClock& clock) {
  if (NowMicroseconds() < clock.NextMicroseconds) return;
  if (clock.BeforeLook) clock.BeforeLook();
  progress.ProcessPendingMessages();
  clock.NextMicroseconds = NowMicroseconds() + clock.IntervalMicroseconds;
}

void TProgressClock::Finish() { progress_.SetProgressPosition(Position(done_)); }

TFileSource OpenSourceFile(const std::string& path) {
  TFileSource source(path, JobTexts::ErrorReadingFile);
  if (!source.Opened()) throw Exception(JobTexts::ErrorOpeningFile);
  return source;
}

std::unique_ptr<TStagedFile> StageCopy(const std::string& source, const std::string& target, TStagingFolders& staging,
                                       const TCopyIo& io, IProgress& progress, TMessageClock& messages) {
  TFileHandle file(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw Exception(JobTexts::ErrorOpeningFile);
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file.Get(), &size);  // the bar's range only; the copy reads to the end whatever it is
  TProgressClock clock(progress, size.QuadPart, messages);
  auto staged = std::make_unique<TStagedFile>(target, staging, io);
  std::vector<char> buffer(CopyBufferSize);
  for (;;) {
    DWORD bytesRead = 0;
    if (!io.Read(file.Get(), buffer.data(), CopyBufferSize, bytesRead)) throw Exception(JobTexts::ErrorReadingFile);
    if (bytesRead > 0) staged->Write(buffer.data(), bytesRead);
    clock.Advance(bytesRead);
    if (bytesRead < CopyBufferSize) break;
  }
  clock.Finish();
  return staged;
}
