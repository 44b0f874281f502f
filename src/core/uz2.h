#pragma once
// .uz2 files, the game's compressed form of a package (DM-Rankin.ut2.uz2 for DM-Rankin.ut2): a
// sequence of chunks, nothing before or after them, each a 32-bit little-endian compressed size,
// a 32-bit little-endian original size and that many bytes of a zlib stream (header and check
// included) giving the original bytes. Every chunk but the last stands for Uz2ChunkSize original
// bytes; the last for the rest, at least one byte. An empty file is an empty .uz2, with no chunk:
// the game's tool compresses what it reads until there is nothing left.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_streams.h"

inline constexpr std::uint32_t Uz2ChunkSize = 32768;
inline constexpr std::string_view Uz2Extension = ".uz2";

// Compresses original into uz2, one chunk at a time, in constant memory, each chunk made as
// zlib's compress() makes it. Returns the .uz2's size.
std::uint64_t WriteUz2(IByteSource& original, IByteSink& uz2);

// Restores the original bytes of uz2 into original, one chunk at a time, in constant memory, and
// returns their count. Raises EArchiveError with the reason (archive_texts.h) when uz2 is not a
// .uz2 exactly as described above; original has then had some of the bytes and is to be
// discarded. The streams' own failures pass through.
std::uint64_t ReadUz2(IByteSource& uz2, IByteSink& original);

// The original file's name for a .uz2 file's name ("DM-Rankin.ut2" for "DM-Rankin.ut2.uz2", the
// ending in any letter case); empty when the name does not end in ".uz2" or is nothing else.
std::string OriginalNameOfUz2(std::string_view uz2Name);
