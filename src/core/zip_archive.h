#pragma once
// Zip archives without the ZIP64 extensions: written member by member, streamed and deflated;
// read through their central directory, checked as a whole before any member is extracted, and
// extracted streaming with size and CRC checks. Failures of the archive's bytes raise
// EArchiveError with the reason (archive_texts.h); the streams' own failures pass through.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_rules.h"
#include "core/byte_streams.h"

class TDeflater;
class TInflater;

// The end record counts members in 16 bits, and its largest count, 0xFFFF, marks the ZIP64
// extensions: an archive without them holds one member fewer.
inline constexpr size_t MaxZipMembers = 0xFFFE;
// Archives and members stay smaller than this: it is the largest a 32-bit field holds, and the
// value itself marks the ZIP64 extensions.
inline constexpr std::uint64_t ZipSizeLimit = 0xFFFFFFFF;

// Splits a member's name into the folders above it, joined by '/' (empty at the archive's root),
// and its file name, empty for a folder's own entry (a name ending in a separator). Either '/' or
// '\' separates, but not the trail byte of a double-byte character. False when the name leaves
// the archive's root or is no plain path: empty, absolute, with a drive or ':' anywhere, with an
// empty, "." or ".." folder or file name. The file name is still to be checked with
// IsSafeFileName before it names a file.
bool SplitMemberName(std::string_view name, TLeadByteTest isLeadByte, std::string& folder, std::string& fileName);

// The date and time a member carries, in the form of the system's FileTimeToDosDateTime.
struct TDosDateTime {
  std::uint16_t date = 0x21;  // 1 January 1980, the form's first day
  std::uint16_t time = 0;
};

// Writes an archive to a sink, front to back: each member's local header, its deflated bytes and
// a data descriptor with its CRC and sizes, then the central directory and the end record. Member
// names are given in UTF-8 and written so, marked as UTF-8, with '/' between folders. A member
// refused for its name or for being one too many leaves the archive as it was; after any other
// error the archive is incomplete and the writer is not to be used again.
class TZipWriter {
public:
  // sizeLimit: the size that archives and members must stay below; a smaller one lets tests
  // reach it.
  explicit TZipWriter(IByteSink& archive, std::uint64_t sizeLimit = ZipSizeLimit);
  ~TZipWriter();

  // Adds a member named path (a file name in UTF-8, with folders before it) holding data's bytes.
  void Add(std::string_view path, IByteSource& data, TDosDateTime modified = {});
  // Ends the archive with its directory; returns the archive's size.
  std::uint64_t Finish();

private:
  struct TEntry {
    std::string name;
    TDosDateTime modified;
    std::uint32_t crc, compressedSize, size, offset;
  };
  void Put(const std::string& bytes);
  void Put(const char* data, size_t size);

  IByteSink& archive_;
  std::uint64_t sizeLimit_;
  std::uint64_t position_ = 0;
  std::vector<TEntry> entries_;
  std::unique_ptr<TDeflater> deflater_;  // one for all members, reset for each
  std::vector<char> in_, out_;
};

// A file in an archive, as the reader lists it.
struct TZipMember {
  std::string folder;    // the folders above it, joined by '/', empty at the archive's root
  std::string fileName;  // checked by the caller with IsSafeFileName before it names a file
  bool utf8Name = false; // the archive marks the name as UTF-8 rather than in the code page
  std::uint32_t size = 0;
};

// Reads an archive's directory and extracts its files. The archive is refused as a whole when any
// entry is encrypted, compressed by another method than store or deflate, named outside the
// archive's root, or disagrees with its local header or data descriptor, or when entries overlap
// each other or the directory. Folders' own entries are checked but not listed.
class TZipReader {
public:
  // Reads and checks the directory; the archive must stay open and unchanged while this is used.
  TZipReader(IRandomAccessSource& archive, TLeadByteTest isLeadByte);
  ~TZipReader();

  const std::vector<TZipMember>& Members() const { return members_; }
  // Writes the bytes of Members()[member] to sink and checks their size and CRC; on an error the
  // sink has had some of them and its bytes are to be discarded.
  void Extract(size_t member, IByteSink& sink);

private:
  struct TLocation {
    std::string name;  // as the archive gives it, for the texts
    std::uint64_t dataOffset;
    std::uint32_t compressedSize, crc;
    std::uint16_t method;
  };

  IRandomAccessSource& archive_;
  std::vector<TZipMember> members_;
  std::vector<TLocation> locations_;
  std::unique_ptr<TInflater> inflater_;  // one for all members, reset for each
};
