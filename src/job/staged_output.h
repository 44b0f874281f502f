#pragma once
// The one way the commands write a file into the game's folders or the user's: the bytes go to a
// file in a staging folder beside the target, are flushed to the disk, and take the target's name
// in one step only once complete. Also the clocks that keep the window answering and move the
// progress bar and the status line while the bytes pass.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/byte_streams.h"
#include "job/folder_listing.h"
#include "job/job_seams.h"
#include "win/file_replacement.h"
#include "win/file_streams.h"
#include "win/files.h"

// Each read of a copy, and its one buffer.
inline constexpr DWORD CopyBufferSize = 16384;
// The bar's maximum is the file's size plus this, so a finished file leaves it short of full.
inline constexpr int ProgressHeadroom = 5;

// The file operations of the writes and of the payloads' deletion, replaceable so that a test can
// count the reads, make the disk fill up after a number of bytes or see their order. Each returns
// false on failure; Write must write all of its bytes to succeed, Flush must have the file's bytes
// on the disk.
struct TCopyIo {
  std::function<bool(HANDLE file, void* buffer, DWORD size, DWORD& bytesRead)> Read;
  std::function<bool(HANDLE file, const void* data, DWORD size)> Write;
  std::function<bool(HANDLE file)> Flush;
  std::function<bool(const std::string& path)> Delete;

  // The system's operations; rawWrite lets a test make the system write fewer bytes than asked.
  static TCopyIo Standard(TRawWrite rawWrite = ::WriteFile);
};

// Where files are written before they take their real names: a folder "~pn" inside each target
// folder, which the game never looks into. A write killed half way leaves its part there and never
// a broken package under a real name; the leftovers are removed the first time a folder is used
// again. The folders made are removed again when this ends (when they are empty), so one object
// serves a whole run and pays each folder's creation once.
class TStagingFolders {
public:
  TStagingFolders() = default;
  ~TStagingFolders();
  TStagingFolders(const TStagingFolders&) = delete;
  TStagingFolders& operator=(const TStagingFolders&) = delete;

  // A new file in the staging folder of targetFolder, which is made (and cleared of leftovers) on
  // first use; nullptr or not Created() when it cannot be made (targetFolder missing, no rights).
  // Files are numbered on, without limit, so any number of them may wait at once.
  std::unique_ptr<TReplacementFile> NewFile(const std::string& targetFolder);

  // The target folders' listings, each read once: a lookup by name costs a scan of the whole
  // folder on an emulated file system.
  TFolderListings& Listings() { return listings_; }

private:
  std::map<std::string, int> nextNumber_;  // by staging folder made or cleared by this object
  TFolderListings listings_;
};

// A file written in the staging folder of its target and put in the target's place only once
// complete; removed on every other path.
class TStagedFile : public IByteSink {
public:
  // Raises "Error creating output file" when target's folder is missing, or an existing target
  // cannot be replaced (read-only, in use): both are known before a byte is written.
  TStagedFile(std::string target, TStagingFolders& staging, const TCopyIo& io);

  // Raises "Error writing output file" when a write fails.
  void Write(const char* data, size_t size) override;
  const std::string& Target() const { return target_; }
  // Flushes the file and puts it in the target's place, replacing a file there. Raises "Error
  // writing output file" when the flush fails and "Error creating output file" when the move does.
  void Commit();
  // The same in a game folder, where no installed file is replaced blindly: a file at the target
  // is first moved to keepFormerAt (same volume, so nothing is copied) and moved back should the
  // new file fail to take its place; with no keepFormerAt, a file found at the target (come since
  // the target was looked at) makes the commit fail.
  void CommitKeeping(const std::string& keepFormerAt);

private:
  std::string target_;
  const TCopyIo& io_;
  std::unique_ptr<TReplacementFile> file_;
  std::optional<THandleSink> sink_;
};

// When the message queue is looked at next: one clock for a whole run.
struct TMessageClock {
  int64_t NextMicroseconds = 0;
  // Between two looks; each costs a repaint of the bar and the status line.
  int64_t IntervalMicroseconds = 12000;
  // Called just before each look, when the window is about to be painted.
  std::function<void()> BeforeLook;
};

// Handles the waiting window messages through progress when the clock says it is time.
void LookAtMessagesOnTime(IProgress& progress, TMessageClock& clock);

// A file's progress on the bar, and the window kept answering, as its bytes pass: both on a clock,
// since touching the bar or the message queue costs far more than a piece of a file.
class TProgressClock {
public:
  // Sets the bar's range for size bytes and its position to 0.
  TProgressClock(IProgress& progress, int64_t size, TMessageClock& messages);
  void Advance(int64_t bytes);
  // Shows the final position.
  void Finish();

private:
  int Position(int64_t bytes) const;

  IProgress& progress_;
  int64_t done_ = 0;
  int shift_ = 0;  // sizes beyond the bar's range are shown in units of 2^shift_ bytes
  int shownPosition_ = 0;
  TMessageClock& messages_;
  int64_t nextProgress_;
};

// Passes a source's bytes on and shows them on the progress bar.
class TProgressSource : public IByteSource {
public:
  TProgressSource(IByteSource& source, TProgressClock& clock) : source_(source), clock_(clock) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t got = source_.Read(buffer, size);
    clock_.Advance(static_cast<int64_t>(got));
    return got;
  }

private:
  IByteSource& source_;
  TProgressClock& clock_;
};

// Passes bytes on to a sink and shows them on the progress bar.
class TProgressSink : public IByteSink {
public:
  TProgressSink(IByteSink& sink, TProgressClock& clock) : sink_(sink), clock_(clock) {}
  void Write(const char* data, size_t size) override {
    sink_.Write(data, size);
    clock_.Advance(static_cast<int64_t>(size));
  }

private:
  IByteSink& sink_;
  TProgressClock& clock_;
};

// The status line of a run over many files. Under emulation each change of the status bar costs
// more than a small file, and a text shows only once the window is painted: a file's text waits
// for the message clock's next look (or for Show), so that many small files cost one change.
class TDeferredStatus {
public:
  TDeferredStatus(IStatusLine& status, TMessageClock& clock) : status_(status) {
    clock.BeforeLook = [this] { Show(); };
  }
  TDeferredStatus(const TDeferredStatus&) = delete;
  TDeferredStatus& operator=(const TDeferredStatus&) = delete;
  void Announce(std::string text) { pending_ = std::move(text); }
  // Puts the text waiting on the status line.
  void Show() {
    if (pending_.empty()) return;
    status_.SetStatusText(pending_);
    pending_.clear();
  }

private:
  IStatusLine& status_;
  std::string pending_;
};

// A file read for a write, opened for reading only: "Error opening file" when it cannot be, "Error
// reading file" when a read fails.
TFileSource OpenSourceFile(const std::string& path);

// Copies the file at source into a new staged file for target, in reads of CopyBufferSize through
// io, moving the clock; the staged file is made only once source is open, so a source that cannot
// be opened ("Error opening file") leaves nothing behind.
std::unique_ptr<TStagedFile> StageCopy(const std::string& source, const std::string& target, TStagingFolders& staging,
                                       const TCopyIo& io, IProgress& progress, TMessageClock& messages);
