#pragma once
// One file of the integration run: the payload copied to its destination in chunks, with the
// progress on the progress bar and the window kept answering meanwhile.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "job/folder_listing.h"
#include "win/file_replacement.h"
#include "win/files.h"

class IProgress;

inline constexpr DWORD CopyBufferSize = 16384;
// The bar's maximum is the payload's size plus this, so a finished file leaves it short of full.
inline constexpr int ProgressHeadroom = 5;

// The file operations of a copy and of the payload's deletion after it, replaceable so that a
// test can count the reads, make the disk fill up after a number of bytes or see their order.
// Each returns false on failure; Write must write all of its bytes to succeed, Flush must have
// the file's bytes on the disk.
struct TCopyIo {
  std::function<bool(HANDLE file, void* buffer, DWORD size, DWORD& bytesRead)> Read;
  std::function<bool(HANDLE file, const void* data, DWORD size)> Write;
  std::function<bool(HANDLE file)> Flush;
  std::function<bool(const std::string& path)> Delete;

  // The system's operations; rawWrite lets a test make the system write fewer bytes than asked.
  static TCopyIo Standard(TRawWrite rawWrite = ::WriteFile);
};

// Where copies are written before they take their real names: a folder "~pn" inside each
// destination folder, which the game never looks into. A copy killed half way leaves its part
// there and never a broken package under a real name; the leftovers of such a copy are removed
// the first time a folder is used again. The folders made are removed again when this ends (when
// they are empty), so one object serves a whole run and pays the folder's creation once.
class TStagingFolders {
public:
  TStagingFolders() = default;
  ~TStagingFolders();
  TStagingFolders(const TStagingFolders&) = delete;
  TStagingFolders& operator=(const TStagingFolders&) = delete;

  // The name prefix of copies into destFolder, in its staging folder, which is made (and cleared
  // of leftovers) on first use; empty when it cannot be made (destFolder missing, no rights).
  std::string TemporaryPrefix(const std::string& destFolder);

  // True when the destination folder's listing, read once, shows that nothing stands at dest: a
  // lookup by name costs a scan of the whole folder on an emulated file system.
  bool IsSurelyNew(const std::string& dest);

private:
  std::vector<std::string> folders_;  // staging folders made or cleared by this object
  TFolderListings destinations_;
};

// The file a copy is written to, in the staging folder of its destination, put in the
// destination's place only once complete; removed on every other path.
class TOutputFile {
public:
  // Not Created() when dest's folder is missing or an existing dest cannot be replaced (read-only,
  // in use): both are known before a byte is written.
  TOutputFile(const std::string& dest, TStagingFolders& staging);
  bool Created() const { return file_ && file_->Created(); }
  HANDLE Handle() const { return file_->Handle(); }
  bool Commit(const std::string& dest) { return file_->Replace(dest); }

private:
  std::optional<TReplacementFile> file_;
};

// When the message queue is looked at next. A copy has one of its own, so that its first chunk
// looks; the files of an export or install share one, since with many small files a look per file
// would cost more than the files.
struct TMessageClock {
  int64_t NextMicroseconds = 0;
  // Between two looks; each costs a repaint of the bar and the status line.
  int64_t IntervalMicroseconds = 12000;
  // Called just before each look, when the window is about to be painted.
  std::function<void()> BeforeLook;
};

// A file's progress on the bar, and the window kept answering, as chunks of it pass: both on a
// clock, since touching the bar or the message queue costs far more than a chunk.
class TProgressClock {
public:
  // Sets the bar's maximum to size plus ProgressHeadroom and its position to 0.
  TProgressClock(IProgress& progress, int64_t size, TMessageClock& messages);
  void Advance(int64_t bytes);
  // Shows the final position.
  void Finish();

private:
  IProgress& progress_;
  int64_t done_ = 0;
  int shownPosition_ = 0;
  TMessageClock& messages_;
  int64_t nextProgress_;
};

// Copies Source to Dest (resolved against the current folder), flushed to disk before it returns.
// The copy is written in the staging folder and takes Dest's name only once complete and flushed,
// so Dest is either the complete copy or as it was (absent, or the former file). Raises Exception
// with "Error opening file" (Source), "Error creating output file" (Dest's folder missing, or an
// existing Dest read-only or in use: checked before any byte is copied), "Error reading file" or
// "Error writing output file"; after an error nothing of the copy remains.
void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress,
                          const TCopyIo& io, TStagingFolders& staging);
// The same with staging folders of its own, made and removed for this one copy.
void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress,
                          const TCopyIo& io = TCopyIo::Standard());
