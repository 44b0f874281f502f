#pragma once
// Byte streams in memory for the archive tests and fuzz targets. A read hands out at most `piece`
// bytes, as pipes do; failAfter stands for a read error or a full disk half way.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_streams.h"
#include "core/exceptions.h"

class TMemorySource : public IByteSource {
public:
  explicit TMemorySource(std::string_view bytes, size_t piece = SIZE_MAX, size_t failAfter = SIZE_MAX)
      : bytes_(bytes), piece_(piece), failAfter_(failAfter) {}
  size_t Read(char* buffer, size_t size) override {
    if (at_ >= failAfter_) throw Exception("read failed");
    const size_t n = bytes_.copy(buffer, std::min({size, piece_, failAfter_ - at_}), at_);
    at_ += n;
    return n;
  }

private:
  std::string_view bytes_;
  size_t piece_, failAfter_, at_ = 0;
};

class TMemorySink : public IByteSink {
public:
  explicit TMemorySink(size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
  void Write(const char* data, size_t size) override {
    if (bytes.size() + size > failAfter_) throw Exception("disk full");
    bytes.append(data, size);
  }
  std::string bytes;

private:
  size_t failAfter_;
};

class TMemoryFile : public IRandomAccessSource {
public:
  explicit TMemoryFile(std::string_view bytes, size_t piece = SIZE_MAX) : bytes_(bytes), piece_(piece) {}
  std::uint64_t Size() override { return bytes_.size(); }
  size_t ReadAt(std::uint64_t offset, char* buffer, size_t size) override {
    return offset >= bytes_.size() ? 0 : bytes_.copy(buffer, std::min(size, piece_), size_t(offset));
  }

private:
  std::string_view bytes_;
  size_t piece_;
};
