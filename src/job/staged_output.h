#pragma once
// The streams of exports and installs: a source whose bytes move the progress bar as they are
// read, and a destination written through a byte sink with the copy's care (staged, flushed, and
// put in place only once complete).
#include <optional>
#include <string>

#include "core/byte_streams.h"
#include "job/copy_file.h"
#include "job/job_seams.h"
#include "win/file_streams.h"

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

// dest written in its staging folder through io's writes. Raises "Error creating output file" when
// dest cannot be replaced and "Error writing output file" when a write or the flush fails. Unless
// Commit has put it in dest's place, nothing of it remains once it is destroyed.
class TStagedSink : public IByteSink {
public:
  TStagedSink(std::string dest, TStagingFolders& staging, const TCopyIo& io);
  void Write(const char* data, size_t size) override;
  // Flushes the file and puts it in dest's place.
  void Commit();

private:
  std::string dest_;
  TOutputFile file_;
  const TCopyIo& io_;
  std::optional<THandleSink> sink_;  // once the file is made
};

// The source file of an export or install, opened for reading only: "Error opening file" when it
// cannot be, "Error reading file" when a read fails.
TFileSource OpenSourceFile(const std::string& path);
