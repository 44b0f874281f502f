#include "core/byte_streams.h"

#include <algorithm>

size_t TBufferedSource::Read(char* buffer, size_t size) {
  if (start_ == end_) {
    if (size >= buffer_.size()) return source_.Read(buffer, size);  // nothing gained by copying
    start_ = 0;
    end_ = source_.Read(buffer_.data(), buffer_.size());
  }
  const size_t piece = std::min(size, end_ - start_);
  std::copy_n(buffer_.data() + start_, piece, buffer);
  start_ += piece;
  return piece;
}

size_t ReadFully(IByteSource& source, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const size_t got = source.Read(buffer + done, size - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

size_t ReadAtFully(IRandomAccessSource& source, std::uint64_t offset, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const size_t got = source.ReadAt(offset + done, buffer + done, size - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}
