#include <gtest/gtest.h>

#include "core/archive_test_helpers.h"
#include "core/archive_texts.h"
#include "core/uz2.h"

namespace {

std::string Le32(size_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A chunk laid out by hand around a zlib stream.
std::string ChunkOf(std::string_view stream, size_t originalSize) { return Le32(stream.size()) + Le32(originalSize) + std::string(stream); }

std::string Restored(const std::string& uz2, size_t piece) {
  TMemorySource source(uz2, piece);
  TMemorySink original;
  const std::uint64_t count = ReadUz2(source, original);
  EXPECT_EQ(count, original.bytes.size());
  return original.bytes;
}

}  // namespace

TEST(Uz2, IsWrittenAsChunksOfCompressAndReadBackExactly) {
  for (size_t size : {0, 1, 32767, 32768, 32769, 3 * 1024 * 1024 + 5}) {
    const std::string original = PackageLikeBytes(size);
    TMemorySource source(original, 1000);
    TMemorySink uz2;
    const std::uint64_t written = WriteUz2(source, uz2);
    std::string expected;  // each next 32,768 bytes compressed here; nothing for an empty file
    for (size_t at = 0; at < size; at += Uz2ChunkSize)
      expected += ChunkOf(Compressed(original.substr(at, Uz2ChunkSize)), std::min<size_t>(Uz2ChunkSize, size - at));
    EXPECT_EQ(written, expected.size()) << size;
    EXPECT_TRUE(uz2.bytes == expected) << size;
    EXPECT_TRUE(Restored(uz2.bytes, 7) == original) << size;
  }
  std::string atLevels, original = PackageLikeBytes(100000);
  for (size_t at = 0, level = 0; at < original.size(); at += Uz2ChunkSize, level += 3)
    atLevels += ChunkOf(Compressed(original.substr(at, Uz2ChunkSize), int(level)), std::min<size_t>(Uz2ChunkSize, original.size() - at));
  EXPECT_TRUE(Restored(atLevels, 1) == original);
}

TEST(Uz2, RefusesEveryMalformedFileWithItsReason) {
  using namespace ArchiveTexts;
  const std::string hello = Compressed("hello"), full = PackageLikeBytes(Uz2ChunkSize);
  const std::string fullChunk = ChunkOf(Compressed(full), Uz2ChunkSize), helloChunk = ChunkOf(hello, 5);
  std::string wrongCheck = hello;
  wrongCheck.back() ^= 1;
  const struct {
    const char* what;
    std::string uz2;
    const char* reason;
  } cases[] = {
      {"a full chunk and the rest", fullChunk + helloChunk, nullptr},
      {"a header cut short", fullChunk + std::string("\x05\0\0", 3), ChunkHeaderCut},
      {"no compressed bytes", Le32(0) + Le32(5), ChunkWithoutCompressedBytes},
      {"a chunk for no bytes", ChunkOf(Compressed(""), 0), ChunkOfNoBytes},
      {"more than a chunk", ChunkOf(Compressed(full + "x"), Uz2ChunkSize + 1), ChunkTooLarge},
      {"compressed bytes past the end", Le32(hello.size() + 1) + Le32(5) + hello, ChunkDataCut},
      {"4 GiB of compressed bytes claimed", Le32(0xFFFFFFFF) + Le32(5) + hello, ChunkDataCut},
      {"more bytes claimed than zlib gives", ChunkOf(hello, 6), ChunkSizeDiffers},
      {"fewer bytes claimed than zlib gives", ChunkOf(hello, 4), ChunkSizeDiffers},
      {"a stream cut inside its chunk", ChunkOf(hello.substr(0, hello.size() - 1), 5), ChunkNotCompressedData},
      {"a wrong check", ChunkOf(wrongCheck, 5), ChunkNotCompressedData},
      {"raw deflate without zlib's header", ChunkOf(hello.substr(2), 5), ChunkNotCompressedData},
      {"bytes inside the chunk after the stream", ChunkOf(hello + "x", 5), ChunkDataEndsEarly},
      {"a short chunk before another", helloChunk + fullChunk, ShortChunkNotLast},
      {"stray bytes after the last chunk", fullChunk + helloChunk + "xy", BytesAfterLastChunk},
  };
  for (const auto& c : cases)
    for (size_t piece : {size_t{1}, SIZE_MAX}) {
      TMemorySource source(c.uz2, piece);
      TMemorySink original;
      EXPECT_STREQ(RefusalOf([&] { ReadUz2(source, original); }), c.reason) << c.what << ", pieces of " << piece;
    }
}

TEST(Uz2, StopsAtAStreamsFailureAndLetsItThrough) {
  const std::string original = PackageLikeBytes(200000);
  TMemorySource whole(original);
  TMemorySink uz2;
  WriteUz2(whole, uz2);
  const auto write = [&](TMemorySource in, TMemorySink out) { WriteUz2(in, out); };
  const auto read = [&](TMemorySource in, TMemorySink out) { ReadUz2(in, out); };
  EXPECT_EQ(PassedFailureOf([&] { write(TMemorySource(original), TMemorySink(uz2.bytes.size() / 2)); }), "disk full");
  EXPECT_EQ(PassedFailureOf([&] { write(TMemorySource(original, SIZE_MAX, 40000), TMemorySink()); }), "read failed");
  EXPECT_EQ(PassedFailureOf([&] { read(TMemorySource(uz2.bytes), TMemorySink(40000)); }), "disk full");
  EXPECT_EQ(PassedFailureOf([&] { read(TMemorySource(uz2.bytes, SIZE_MAX, uz2.bytes.size() / 2), TMemorySink()); }), "read failed");
}

TEST(OriginalNameOfUz2, StripsTheEndingInAnyLetterCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"DM-Rankin.ut2.uz2", "DM-Rankin.ut2"}, {"Music.ogg.UZ2", "Music.ogg"}, {"x.Uz2", "x"}, {".uz2", ""},
      {"uz2", ""}, {"DM-Rankin.ut2", ""}, {"Pack.u.uz", ""}, {"Pack.uz2.bak", ""},
  };
  for (const auto& [name, original] : cases) EXPECT_EQ(OriginalNameOfUz2(name), original) << name;
}
