#pragma once
// The byte streams the archive code reads and writes, so that files, memory or anything else can
// feed it. A stream reports its own failures by throwing an Exception with the text the user
// reads (a full disk, a read error); the archive code lets them pass unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes read front to back.
class IByteSource {
public:
  virtual ~IByteSource() = default;
  // Reads up to size bytes into buffer and returns how many. Fewer than asked is no sign of the
  // end: only 0 is.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

// Bytes written front to back.
class IByteSink {
public:
  virtual ~IByteSink() = default;
  // Writes all size bytes, or throws.
  virtual void Write(const char* data, size_t size) = 0;
};

// Bytes of a known size read at any offset: an archive read through its directory.
class IRandomAccessSource {
public:
  virtual ~IRandomAccessSource() = default;
  virtual std::uint64_t Size() = 0;
  // Reads up to size bytes at offset and returns how many; 0 only at or past the end.
  virtual size_t ReadAt(std::uint64_t offset, char* buffer, size_t size) = 0;
};

// A source read in large pieces for a reader that asks for small ones (a .uz2's chunk headers and
// compressed bytes), since each read of a file is a call into the system.
class TBufferedSource : public IByteSource {
public:
  TBufferedSource(IByteSource& source, size_t capacity) : source_(source), buffer_(capacity) {}
  size_t Read(char* buffer, size_t size) override;

private:
  IByteSource& source_;
  std::vector<char> buffer_;
  size_t start_ = 0, end_ = 0;
};

// Reads until size bytes are in or the source ends; returns how many.
size_t ReadFully(IByteSource& source, char* buffer, size_t size);
// The same from offset on.
size_t ReadAtFully(IRandomAccessSource& source, std::uint64_t offset, char* buffer, size_t size);
