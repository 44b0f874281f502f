#pragma once
// The texts of the .uz2 and zip code. A headline takes the file's name and then the reason, which
// an EArchiveError carries filled in: "%s" in a reason takes a byte offset, a size or a member's
// name as the archive gives it.
namespace ArchiveTexts {
inline constexpr const char* ErrorReadingCompressedFile = "Error reading compressed file %s: %s";
inline constexpr const char* ErrorReadingArchive = "Error reading archive %s: %s";
inline constexpr const char* ErrorWritingArchive = "Error writing archive %s: %s";

// .uz2 files.
inline constexpr const char* ChunkHeaderCut = "the file ends inside the chunk header at byte %s";
inline constexpr const char* ChunkWithoutCompressedBytes = "the chunk at byte %s holds no compressed bytes";
inline constexpr const char* ChunkOfNoBytes = "the chunk at byte %s stands for no bytes";
inline constexpr const char* ChunkTooLarge = "the chunk at byte %s claims %s bytes, more than a chunk holds";
inline constexpr const char* ChunkDataCut = "the file ends inside the compressed bytes of the chunk at byte %s";
inline constexpr const char* ChunkNotCompressedData = "the chunk at byte %s is not valid compressed data";
inline constexpr const char* ChunkSizeDiffers = "the chunk at byte %s does not give the %s bytes it claims";
inline constexpr const char* ChunkDataEndsEarly = "the compressed data of the chunk at byte %s ends before its stated size";
inline constexpr const char* ShortChunkNotLast = "the chunk at byte %s is not full, yet another chunk follows it";
inline constexpr const char* BytesAfterLastChunk = "%s stray bytes follow the last chunk";

// Zip archives, read.
inline constexpr const char* NotZipArchive = "it is not a zip archive (it has no end record)";
inline constexpr const char* SpannedArchive = "it is one volume of an archive split across several files";
inline constexpr const char* Zip64Archive = "it needs the ZIP64 extensions for 4 GiB and more, which are not supported";
inline constexpr const char* DirectoryMisplaced = "its central directory does not end where its end record begins";
inline constexpr const char* DirectoryDamaged = "its central directory is damaged";
inline constexpr const char* UnsafeMemberName = "the member name \"%s\" is not a plain path inside the archive";
inline constexpr const char* UnsafeMemberFileName = "the member \"%s\" is not named by a safe file name";
inline constexpr const char* EncryptedMember = "the member \"%s\" is encrypted";
inline constexpr const char* UnsupportedMethod = "the member \"%s\" is compressed by method %s; only stored and deflated members can be read";
inline constexpr const char* LocalHeaderDamaged = "the local header of the member \"%s\" is damaged";
inline constexpr const char* MemberRecordsDisagree = "the records of the member \"%s\" disagree with each other";
inline constexpr const char* MembersOverlap = "the members \"%s\" and \"%s\" overlap";
inline constexpr const char* MemberOverlapsDirectory = "the member \"%s\" overlaps the central directory";
inline constexpr const char* ArchiveCut = "the file ends inside the member \"%s\"";
inline constexpr const char* MemberNotCompressedData = "the member \"%s\" is not valid deflated data";
inline constexpr const char* MemberSizeDiffers = "the member \"%s\" does not hold the %s bytes its record gives";
inline constexpr const char* MemberCrcDiffers = "the member \"%s\" fails its CRC check";

// Zip archives, written.
inline constexpr const char* TooManyMembers = "the archive reaches %s members, which needs the ZIP64 extensions";
inline constexpr const char* MemberTooLarge = "the member \"%s\" reaches 4 GiB, which needs the ZIP64 extensions";
inline constexpr const char* ArchiveTooLarge = "the archive reaches 4 GiB, which needs the ZIP64 extensions";
}  // namespace ArchiveTexts
