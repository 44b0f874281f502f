#pragma once
// A file read at any offset through its handle, for readers that ask for a few small pieces of a
// large file (the package header reader): nothing is read but what they ask for.
#include <cstdint>
#include <optional>
#include <string>

#include "core/byte_streams.h"
#include "win/handles.h"

class TFileSource : public IRandomAccessSource {
public:
  // Opens path for reading, shared with other readers only; nothing when it cannot be opened or
  // sized, with the system's error in GetLastError.
  static std::optional<TFileSource> Open(const std::string& path);

  std::uint64_t Size() override { return size_; }
  // Raises Exception with the system's text when the read fails.
  size_t ReadAt(std::uint64_t offset, char* buffer, size_t size) override;
  // What the reads so far have delivered, in bytes.
  std::uint64_t BytesRead() const { return bytesRead_; }

private:
  TFileSource(TFileHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

  TFileHandle file_;
  std::uint64_t size_;
  std::uint64_t bytesRead_ = 0;
};
