#pragma once
// What the .uz2 and zip tests share: package-like bytes, zlib streams, and the failure a run ends in.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "core/archive_error.h"
#include "core/memory_streams.h"

// Runs of slowly changing bytes with noise between them, which compress about as packages do.
inline std::string PackageLikeBytes(size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 2004;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = char(state >> 28 == 0 ? state >> 16 : i / 64);
  }
  return bytes;
}

// A zlib stream as compress() makes it, at any level.
inline std::string Compressed(std::string_view original, int level = Z_DEFAULT_COMPRESSION) {
  std::string out(compressBound(original.size()), '\0');
  uLongf size = out.size();
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(original.data()), original.size(), level);
  return out.substr(0, size);
}

// The reason of the EArchiveError that action raises (its text filled in), or null.
inline const char* RefusalOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EArchiveError& e) {
    EXPECT_EQ(std::string(e.what()).find("%s"), std::string::npos) << e.what();
    return e.Reason();
  }
  return nullptr;
}

// The text of a stream's failure that action lets through; one reworded as the archive's own is
// a fault.
inline std::string PassedFailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EArchiveError& e) {
    return std::string("reworded as: ") + e.what();
  } catch (const Exception& e) {
    return e.what();
  }
  return "none";
}
