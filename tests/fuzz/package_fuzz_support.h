#pragma once
// What the package fuzz targets share: the bytes a reading holds at once on the heap. The
// fuzzer's bytes are read through the tests' memory source, which fails any read outside them.
#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/package_builder.h"

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
  if (Allocations.counting) Allocations.most = std::max(Allocations.most, Allocations.held += int64_t(size));
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
