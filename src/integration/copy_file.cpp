#include "integration/copy_file.h"

#include <cstdint>
#include <vector>

#include "catalogue/file_helpers.h"
#include "framework/exceptions.h"
#include "framework/win_handles.h"
#include "integration/integration_texts.h"
#include "ui/main_view.h"

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

// An existing destination must be replaceable before anything is copied: not a folder, not
// read-only, and not open elsewhere.
bool CanReplace(const std::string& dest) {
  const DWORD attributes = ::GetFileAttributesA(dest.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
  TFileHandle probe(::CreateFileA(dest.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe.Valid();
}

// The file a copy is written to. A new destination is written in place; an existing one is
// replaced only by a complete copy, written beside it under a temporary name. Whatever has been
// written is removed on every path unless the copy has been put in place.
class TOutputFile {
public:
  explicit TOutputFile(const std::string& dest) : dest_(dest) {
    // Trying the new file first costs one look-up in the folder, as the system's own copy does;
    // a per-name look-up in a big folder is dear on an emulated file system.
    handle_.Reset(::CreateFileA(dest.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle_) {
      path_ = dest;
      return;
    }
    const DWORD error = ::GetLastError();
    if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || !CanReplace(dest)) return;
    char name[MAX_PATH];
    if (::GetTempFileNameA(FolderOf(dest).c_str(), "pn", 0, name) == 0) return;
    path_ = name;
    handle_.Reset(::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ~TOutputFile() {
    handle_.Reset();
    if (!path_.empty()) ::DeleteFileA(path_.c_str());
  }
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  bool Created() const { return handle_.Valid(); }
  HANDLE Handle() const { return handle_.Get(); }

  bool Flush() { return ::FlushFileBuffers(handle_.Get()) != 0; }

  // Closes the complete copy and puts it in place.
  bool Commit() {
    handle_.Reset();
    if (path_ != dest_ &&
        !::MoveFileExA(path_.c_str(), dest_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
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

TCopyIo TCopyIo::Standard() {
  TCopyIo io;
  io.Read = [](HANDLE file, void* buffer, DWORD size, DWORD& bytesRead) {
    return ::ReadFile(file, buffer, size, &bytesRead, nullptr) != 0;
  };
  io.Write = [](HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) != 0 && written == size;
  };
  return io;
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IMainView& view, const TCopyIo& io) {
  const std::string dest = FullPathOf(Dest);
  const int64_t size = FileSizeOf(Source);  // -1 when missing: the open below fails
  view.SetProgressRange(ProgressValue(size + ProgressHeadroom));
  view.SetProgressPosition(0);

  std::vector<char> buffer(CopyBufferSize);
  TFileHandle source(::CreateFileA(Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) throw Exception(IntegrationTexts::ErrorOpeningFile);
  TOutputFile copy(dest);
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
      view.SetProgressPosition(shownPosition);
      nextProgress = now + ProgressIntervalMicroseconds;
    }
    if (now >= nextMessages) {
      view.ProcessPendingMessages();
      nextMessages = NowMicroseconds() + MessageIntervalMicroseconds;
    }
    if (bytesRead < CopyBufferSize) break;
  }
  if (!copy.Flush()) throw Exception(IntegrationTexts::ErrorWritingOutputFile);
  source.Reset();
  if (!copy.Commit()) throw Exception(IntegrationTexts::ErrorCreatingOutputFile);
  view.SetProgressPosition(ProgressValue(copied));
}
