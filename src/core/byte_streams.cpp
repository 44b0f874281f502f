#include "core/byte_streams.h"

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
