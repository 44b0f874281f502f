#pragma once
// Byte streams over files: a file opened for reading only, and the writing end
// of a handle someone else owns (the staged file that takes a target's place once complete).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/byte_streams.h"
#include "win/handles.h"

// Who else may open a file while it is read: readers only, or also whoever deletes it (a preview
// read beside a run, which deletes a payload once it is copied).
enum class TFileSharing { Readers, ReadersAndDeletion };

// A file read front to back or at any offset (the package header reader asks for a few small
// pieces of a large file, and only those are read), opened for reading only and shared with other
// readers but not with writers, so that nobody changes it while it is read. Read failures raise
// Exception with the text given; a file that cannot be opened is not Opened(), with the system's
// error in GetLastError.
class TFileSource : public IByteSource, public IRandomAccessSource {
public:
  TFileSource(const std::string& path, std::string readFailure, TFileSharing sharing = TFileSharing::Readers);
  bool Opened() const { return file_.Valid(); }

  size_t Read(char* buffer, size_t size) override;
  std::uint64_t Size() override;
  size_t ReadAt(std::uint64_t offset, char* buffer, size_t size) override;
  // The last write as LocalDosTime gives it. Asked of the open file: a look-up by name costs a
  // scan of the whole folder on an emulated file system.
  std::uint32_t LastWriteDosTime();
  // What the reads so far have delivered, in bytes.
  std::uint64_t BytesRead() const { return bytesRead_; }

private:
  TFileHandle file_;
  std::string readFailure_;
  std::uint64_t bytesRead_ = 0;
};

// Writes all of data to file, false on failure (a full disk); the copy's write seam has this form.
using TWriteAll = std::function<bool(HANDLE file, const void* data, DWORD size)>;

// The writing end of an open file handle; a failed write raises Exception with the text given.
class THandleSink : public IByteSink {
public:
  THandleSink(HANDLE file, TWriteAll write, std::string writeFailure)
      : file_(file), write_(std::move(write)), writeFailure_(std::move(writeFailure)) {}
  void Write(const char* data, size_t size) override;

private:
  HANDLE file_;
  TWriteAll write_;
  std::string writeFailure_;
};
