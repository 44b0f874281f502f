#pragma once
// What the package fuzz targets share: the fuzzer's bytes as a package file that fails any read
// outside them, and the bytes a reading holds at once on the heap.
#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/byte_streams.h"

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The bytes held at once by this thread's allocations while counting.
struct TAllocationCount {
  bool counting = false;
  int64_t held = 0;
  int64_t most = 0;
};
inline thread_local TAllocationCount Allocations;

inline void NoteMalloc(const volatile void*, size_t size) {
  if (!Allocations.counting) return;
  Allocations.held += static_cast<int64_t>(size);
  Allocations.most = std::max(Allocations.most, Allocations.held);
}

inline void NoteFree(const volatile void* pointer) {
  if (Allocations.counting && pointer)
    Allocations.held -= static_cast<int64_t>(__sanitizer_get_allocated_size(const_cast<const void*>(pointer)));
}

// Each target that includes this counts its allocations from the start.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Check(__sanitizer_install_malloc_and_free_hooks(NoteMalloc, NoteFree) != 0);
  return 0;
}

// Runs reading with the count started afresh; the most bytes it held at once.
template <typename Reading>
int64_t MostHeldBy(Reading&& reading) {
  Allocations = {true, 0, 0};
  reading();
  Allocations.counting = false;
  return Allocations.most;
}

// The fuzzer's bytes, failing any read outside them.
class TFuzzSource : public IRandomAccessSource {
public:
  explicit TFuzzSource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() override { return bytes_.size(); }
  size_t ReadAt(uint64_t offset, char* buffer, size_t n) override {
    Check(offset <= bytes_.size() && n <= bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, n);
    bytesRead += n;
    return n;
  }
  uint64_t bytesRead = 0;

private:
  std::string_view bytes_;
};
