#include "core/zip_archive.h"

#include <zlib.h>

#include <algorithm>

#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "core/little_endian.h"
#include "core/zlib_streams.h"

namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t DescriptorSignature = 0x08074B50;
constexpr std::uint32_t DirectoryEntrySignature = 0x02014B50;
constexpr std::uint32_t EndRecordSignature = 0x06054B50;
constexpr size_t LocalHeaderSize = 30;
constexpr size_t DirectoryEntrySize = 46;
constexpr size_t EndRecordSize = 22;
constexpr size_t MaxCommentSize = 0xFFFF;
constexpr size_t MaxNameSize = 0xFFFF;
constexpr size_t DescriptorSize = 12;  // CRC and both sizes, after an optional signature

constexpr std::uint16_t EncryptedFlag = 0x0001;
constexpr std::uint16_t DescriptorFlag = 0x0008;
constexpr std::uint16_t StrongEncryptionFlag = 0x0040;
constexpr std::uint16_t Utf8NameFlag = 0x0800;
constexpr std::uint16_t StoredMethod = 0;
constexpr std::uint16_t DeflatedMethod = 8;
constexpr std::uint16_t VersionForDeflate = 20;  // also "made by" MS-DOS; the UTF-8 flag tells how names are written
// What the writer's members say of themselves: sizes in the descriptor, names in UTF-8.
constexpr std::uint16_t WrittenFlags = DescriptorFlag | Utf8NameFlag;
constexpr std::uint32_t Zip64Marker = 0xFFFFFFFF;

constexpr size_t Piece = 32768;

// A range of the archive read front to back.
class TArchiveRange : public IByteSource {
public:
  TArchiveRange(IRandomAccessSource& archive, std::uint64_t offset, std::uint64_t size)
      : archive_(archive), offset_(offset), left_(size) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t got = archive_.ReadAt(offset_, buffer, static_cast<size_t>(std::min<std::uint64_t>(size, left_)));
    offset_ += got;
    left_ -= got;
    return got;
  }

private:
  IRandomAccessSource& archive_;
  std::uint64_t offset_, left_;
};

// The central directory read front to back in large pieces, since its entries are small.
class TDirectoryReader {
public:
  TDirectoryReader(IRandomAccessSource& archive, std::uint64_t offset, std::uint64_t size)
      : range_(archive, offset, size), buffer_(Piece) {}
  // Copies the next size bytes to out, or passes over them when out is null; false when the
  // directory ends first.
  bool Take(char* out, size_t size) {
    while (size > 0) {
      if (start_ == end_) {
        start_ = 0;
        end_ = range_.Read(buffer_.data(), buffer_.size());
        if (end_ == 0) return false;
      }
      const size_t piece = std::min(size, end_ - start_);
      if (out) out = std::copy_n(buffer_.data() + start_, piece, out);
      start_ += piece;
      size -= piece;
    }
    return true;
  }
  bool AtEnd() {
    char probe;
    return !Take(&probe, 1);
  }

private:
  TArchiveRange range_;
  std::vector<char> buffer_;
  size_t start_ = 0, end_ = 0;
};

// Passes bytes on and keeps their CRC-32.
class TCrcSink : public IByteSink {
public:
  explicit TCrcSink(IByteSink& sink) : sink_(sink) {}
  void Write(const char* data, size_t size) override {
    crc_ = crc32(crc_, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
    sink_.Write(data, size);
  }
  std::uint32_t Crc() const { return static_cast<std::uint32_t>(crc_); }

private:
  IByteSink& sink_;
  uLong crc_ = crc32(0, nullptr, 0);
};

// False when the source ends before size bytes.
bool CopyExactly(IByteSource& source, std::uint64_t size, IByteSink& sink) {
  std::vector<char> buffer(Piece);
  while (size > 0) {
    const size_t got = source.Read(buffer.data(), static_cast<size_t>(std::min<std::uint64_t>(size, buffer.size())));
    if (got == 0) return false;
    sink.Write(buffer.data(), got);
    size -= got;
  }
  return true;
}

// The length of a member's data descriptor at data, which must repeat the directory's CRC and
// sizes; 0 when it does not.
size_t DescriptorLength(const char* data, size_t available, std::uint32_t crc, std::uint32_t compressedSize,
                        std::uint32_t size) {
  const auto repeats = [&](const char* at) {
    return LoadLe32(at) == crc && LoadLe32(at + 4) == compressedSize && LoadLe32(at + 8) == size;
  };
  if (available >= DescriptorSize + 4 && LoadLe32(data) == DescriptorSignature && repeats(data + 4))
    return DescriptorSize + 4;
  return available >= DescriptorSize && repeats(data) ? DescriptorSize : 0;
}

}  // namespace

bool SplitMemberName(std::string_view name, TLeadByteTest isLeadByte, std::string& folder, std::string& fileName) {
  std::vector<std::string> steps(1);  // the folders down to the file, each a step
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (isLeadByte(byte) && i + 1 < name.size()) {
      steps.back().append(name.substr(i++, 2));  // its trail byte may be 0x5C and is still no '\'
    } else if (byte == ':') {
      return false;
    } else if (byte == '/' || byte == '\\') {
      steps.emplace_back();
    } else {
      steps.back() += name[i];
    }
  }
  for (size_t i = 0; i < steps.size(); ++i) {
    const bool folderEntryEnd = i + 1 == steps.size() && i > 0;
    if ((steps[i].empty() && !folderEntryEnd) || steps[i] == "." || steps[i] == "..") return false;
  }
  fileName = steps.back();
  steps.pop_back();
  folder.clear();
  for (const std::string& step : steps) folder += (folder.empty() ? "" : "/") + step;
  return true;
}

TZipWriter::TZipWriter(IByteSink& archive, std::uint64_t sizeLimit)
    : archive_(archive), sizeLimit_(sizeLimit),
      deflater_(std::make_unique<TDeflater>(RawDeflateWindow, Z_DEFAULT_COMPRESSION)), in_(Piece), out_(Piece) {}

TZipWriter::~TZipWriter() = default;

void TZipWriter::Put(const char* data, size_t size) {
  if (position_ + size >= sizeLimit_) RefuseArchive(ArchiveTexts::ArchiveTooLarge);
  archive_.Write(data, size);
  position_ += size;
}

void TZipWriter::Put(const std::string& bytes) { Put(bytes.data(), bytes.size()); }

void TZipWriter::Add(std::string_view path, IByteSource& data, TDosDateTime modified) {
  using namespace ArchiveTexts;
  if (entries_.size() >= MaxZipMembers) RefuseArchive(TooManyMembers, {std::to_string(MaxZipMembers + 1)});
  std::string folder, fileName;
  // UTF-8 has no double-byte characters whose second byte could be a '\'.
  if (!SplitMemberName(path, NoLeadBytes, folder, fileName) || fileName.empty() || path.size() > MaxNameSize)
    RefuseArchive(UnsafeMemberName, {std::string(path)});
  TEntry entry{folder.empty() ? fileName : folder + "/" + fileName, modified, 0, 0, 0,
               static_cast<std::uint32_t>(position_)};

  // The CRC and sizes are known only at the end: the local header leaves them to the descriptor.
  std::string header;
  AppendLe32(header, LocalHeaderSignature);
  AppendLe16(header, VersionForDeflate);
  AppendLe16(header, WrittenFlags);
  AppendLe16(header, DeflatedMethod);
  AppendLe16(header, modified.time);
  AppendLe16(header, modified.date);
  for (int field = 0; field < 3; ++field) AppendLe32(header, 0);
  AppendLe16(header, static_cast<std::uint16_t>(entry.name.size()));
  AppendLe16(header, 0);
  Put(header + entry.name);

  z_stream& z = deflater_->Stream();
  deflateReset(&z);
  uLong crc = crc32(0, nullptr, 0);
  std::uint64_t size = 0, compressedSize = 0;
  int flush = Z_NO_FLUSH;
  for (int status = Z_OK; status != Z_STREAM_END;) {
    if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
      const size_t got = data.Read(in_.data(), in_.size());
      size += got;
      if (size >= sizeLimit_) RefuseArchive(MemberTooLarge, {entry.name});
      crc = crc32(crc, reinterpret_cast<const Bytef*>(in_.data()), static_cast<uInt>(got));
      z.next_in = reinterpret_cast<Bytef*>(in_.data());
      z.avail_in = static_cast<uInt>(got);
      if (got == 0) flush = Z_FINISH;
    }
    z.next_out = reinterpret_cast<Bytef*>(out_.data());
    z.avail_out = static_cast<uInt>(out_.size());
    status = deflate(&z, flush);
    const size_t made = out_.size() - z.avail_out;
    compressedSize += made;
    if (compressedSize >= sizeLimit_) RefuseArchive(MemberTooLarge, {entry.name});
    if (made > 0) Put(out_.data(), made);
  }
  entry.crc = static_cast<std::uint32_t>(crc);
  entry.compressedSize = static_cast<std::uint32_t>(compressedSize);
  entry.size = static_cast<std::uint32_t>(size);

  std::string descriptor;
  AppendLe32(descriptor, DescriptorSignature);
  AppendLe32(descriptor, entry.crc);
  AppendLe32(descriptor, entry.compressedSize);
  AppendLe32(descriptor, entry.size);
  Put(descriptor);
  entries_.push_back(std::move(entry));
}

std::uint64_t TZipWriter::Finish() {
  const std::uint64_t directoryOffset = position_;
  for (const TEntry& entry : entries_) {
    std::string record;
    AppendLe32(record, DirectoryEntrySignature);
    AppendLe16(record, VersionForDeflate);
    AppendLe16(record, VersionForDeflate);
    AppendLe16(record, WrittenFlags);
    AppendLe16(record, DeflatedMethod);
    AppendLe16(record, entry.modified.time);
    AppendLe16(record, entry.modified.date);
    AppendLe32(record, entry.crc);
    AppendLe32(record, entry.compressedSize);
    AppendLe32(record, entry.size);
    AppendLe16(record, static_cast<std::uint16_t>(entry.name.size()));
    for (int field = 0; field < 4; ++field) AppendLe16(record, 0);  // extra, comment, disk, internal attributes
    AppendLe32(record, 0);                                          // external attributes
    AppendLe32(record, entry.offset);
    Put(record + entry.name);
  }
  std::string end;
  AppendLe32(end, EndRecordSignature);
  AppendLe32(end, 0);  // this disk and the directory's, both the first
  AppendLe16(end, static_cast<std::uint16_t>(entries_.size()));
  AppendLe16(end, static_cast<std::uint16_t>(entries_.size()));
  AppendLe32(end, static_cast<std::uint32_t>(position_ - directoryOffset));
  AppendLe32(end, static_cast<std::uint32_t>(directoryOffset));
  AppendLe16(end, 0);
  Put(end);
  return position_;
}

namespace {

struct TEndRecord {
  std::uint16_t entries;
  std::uint32_t directorySize, directoryOffset;
};

// The end record is the last one whose comment reaches exactly to the end of the file; the
// directory it points to must end where it begins.
TEndRecord ReadEndRecord(IRandomAccessSource& archive) {
  using namespace ArchiveTexts;
  const std::uint64_t size = archive.Size();
  const size_t tailSize = static_cast<size_t>(std::min<std::uint64_t>(size, EndRecordSize + MaxCommentSize));
  std::string tail(tailSize, '\0');
  if (tailSize < EndRecordSize || ReadAtFully(archive, size - tailSize, tail.data(), tailSize) != tailSize)
    RefuseArchive(NotZipArchive);
  size_t end = tailSize - EndRecordSize + 1;
  while (end-- > 0)
    if (LoadLe32(&tail[end]) == EndRecordSignature && LoadLe16(&tail[end + 20]) == tailSize - end - EndRecordSize)
      break;
  if (end == std::string::npos) RefuseArchive(NotZipArchive);
  const char* record = &tail[end];
  const TEndRecord found{LoadLe16(record + 10), LoadLe32(record + 12), LoadLe32(record + 16)};
  if (LoadLe16(record + 4) != 0 || LoadLe16(record + 6) != 0 || LoadLe16(record + 8) != found.entries)
    RefuseArchive(SpannedArchive);
  if (found.directorySize == Zip64Marker || found.directoryOffset == Zip64Marker) RefuseArchive(Zip64Archive);
  if (std::uint64_t{found.directoryOffset} + found.directorySize != size - tailSize + end)
    RefuseArchive(DirectoryMisplaced);
  return found;
}

// One entry of the central directory, with where its data begins and its whole extent (local
// header to data descriptor) ends.
struct TDirectoryEntry {
  std::string name, folder, fileName;
  bool utf8Name = false;
  std::uint16_t flags = 0, method = 0;
  std::uint32_t crc = 0, compressedSize = 0, memberSize = 0, localOffset = 0;
  std::uint64_t dataOffset = 0, extentEnd = 0;
};

TDirectoryEntry ReadDirectoryEntry(TDirectoryReader& directory, TLeadByteTest isLeadByte) {
  using namespace ArchiveTexts;
  char fixed[DirectoryEntrySize];
  if (!directory.Take(fixed, sizeof fixed) || LoadLe32(fixed) != DirectoryEntrySignature) RefuseArchive(DirectoryDamaged);
  TDirectoryEntry entry;
  entry.flags = LoadLe16(fixed + 8);
  entry.method = LoadLe16(fixed + 10);
  entry.crc = LoadLe32(fixed + 16);
  entry.compressedSize = LoadLe32(fixed + 20);
  entry.memberSize = LoadLe32(fixed + 24);
  entry.localOffset = LoadLe32(fixed + 42);
  std::string& name = entry.name;
  name.assign(LoadLe16(fixed + 28), '\0');
  if (!directory.Take(name.data(), name.size()) || !directory.Take(nullptr, LoadLe16(fixed + 30) + LoadLe16(fixed + 32)))
    RefuseArchive(DirectoryDamaged);
  entry.utf8Name = (entry.flags & Utf8NameFlag) != 0;
  if (!SplitMemberName(name, entry.utf8Name ? NoLeadBytes : isLeadByte, entry.folder, entry.fileName))
    RefuseArchive(UnsafeMemberName, {name});
  if (entry.flags & (EncryptedFlag | StrongEncryptionFlag)) RefuseArchive(EncryptedMember, {name});
  if (entry.method != StoredMethod && entry.method != DeflatedMethod)
    RefuseArchive(UnsupportedMethod, {name, std::to_string(entry.method)});
  if (entry.compressedSize == Zip64Marker || entry.memberSize == Zip64Marker || entry.localOffset == Zip64Marker)
    RefuseArchive(Zip64Archive);
  if (LoadLe16(fixed + 34) != 0) RefuseArchive(SpannedArchive);
  if (entry.method == StoredMethod && entry.compressedSize != entry.memberSize) RefuseArchive(MemberRecordsDisagree, {name});
  return entry;
}

// The local header must name the same member, stored the same way, and the member must end
// before the directory begins.
void CheckLocalHeader(IRandomAccessSource& archive, std::uint32_t directoryOffset, TDirectoryEntry& entry) {
  using namespace ArchiveTexts;
  const std::string& name = entry.name;
  if (std::uint64_t{entry.localOffset} + LocalHeaderSize + name.size() > directoryOffset)
    RefuseArchive(MemberOverlapsDirectory, {name});
  std::string local(LocalHeaderSize + name.size(), '\0');
  if (ReadAtFully(archive, entry.localOffset, local.data(), local.size()) != local.size() ||
      LoadLe32(local.data()) != LocalHeaderSignature)
    RefuseArchive(LocalHeaderDamaged, {name});
  const std::uint16_t localFlags = LoadLe16(&local[6]);
  const bool sameSizes = (entry.flags & DescriptorFlag) ||
                         (LoadLe32(&local[14]) == entry.crc && LoadLe32(&local[18]) == entry.compressedSize &&
                          LoadLe32(&local[22]) == entry.memberSize);
  if (LoadLe16(&local[8]) != entry.method || LoadLe16(&local[26]) != name.size() ||
      local.compare(LocalHeaderSize, name.size(), name) != 0 ||
      ((localFlags ^ entry.flags) & (EncryptedFlag | DescriptorFlag)) != 0 || !sameSizes)
    RefuseArchive(MemberRecordsDisagree, {name});
  entry.dataOffset = std::uint64_t{entry.localOffset} + local.size() + LoadLe16(&local[28]);
  entry.extentEnd = entry.dataOffset + entry.compressedSize;
  if (entry.flags & DescriptorFlag) {
    char descriptor[DescriptorSize + 4];
    const size_t available = ReadAtFully(archive, entry.extentEnd, descriptor, sizeof descriptor);
    const size_t length = DescriptorLength(descriptor, available, entry.crc, entry.compressedSize, entry.memberSize);
    if (length == 0) RefuseArchive(MemberRecordsDisagree, {name});
    entry.extentEnd += length;
  }
  if (entry.extentEnd > directoryOffset) RefuseArchive(MemberOverlapsDirectory, {name});
}

}  // namespace

TZipReader::TZipReader(IRandomAccessSource& archive, TLeadByteTest isLeadByte)
    : archive_(archive), inflater_(std::make_unique<TInflater>(RawDeflateWindow)) {
  const TEndRecord end = ReadEndRecord(archive);
  // Each entry's whole extent, to find overlaps once all are read.
  struct TExtent {
    std::uint64_t begin, end;
    size_t entry;
  };
  std::vector<TExtent> extents;
  std::vector<std::string> names;
  TDirectoryReader directory(archive, end.directoryOffset, end.directorySize);
  for (size_t i = 0; i < end.entries; ++i) {
    TDirectoryEntry entry = ReadDirectoryEntry(directory, isLeadByte);
    CheckLocalHeader(archive, end.directoryOffset, entry);
    extents.push_back({entry.localOffset, entry.extentEnd, names.size()});
    names.push_back(entry.name);
    if (entry.fileName.empty()) continue;  // a folder's own entry
    members_.push_back({std::move(entry.folder), std::move(entry.fileName), entry.utf8Name, entry.memberSize});
    locations_.push_back({std::move(entry.name), entry.dataOffset, entry.compressedSize, entry.crc, entry.method});
  }
  if (!directory.AtEnd()) RefuseArchive(ArchiveTexts::DirectoryDamaged);

  std::sort(extents.begin(), extents.end(), [](const TExtent& a, const TExtent& b) { return a.begin < b.begin; });
  for (size_t i = 1; i < extents.size(); ++i)
    if (extents[i].begin < extents[i - 1].end)
      RefuseArchive(ArchiveTexts::MembersOverlap, {names[extents[i - 1].entry], names[extents[i].entry]});
}

TZipReader::~TZipReader() = default;

void TZipReader::Extract(size_t member, IByteSink& sink) {
  using namespace ArchiveTexts;
  const TLocation& at = locations_.at(member);
  const std::uint32_t size = members_[member].size;
  TArchiveRange data(archive_, at.dataOffset, at.compressedSize);
  TCrcSink checked(sink);
  if (at.method == StoredMethod) {
    if (!CopyExactly(data, at.compressedSize, checked)) RefuseArchive(ArchiveCut, {at.name});
  } else {
    switch (inflater_->InflateExactly(data, at.compressedSize, size, checked)) {
      case TInflateResult::Complete: break;
      case TInflateResult::InputCut: RefuseArchive(ArchiveCut, {at.name});
      case TInflateResult::NotCompressedData: RefuseArchive(MemberNotCompressedData, {at.name});
      case TInflateResult::OutputDiffers:
      case TInflateResult::InputLeftOver: RefuseArchive(MemberSizeDiffers, {at.name, std::to_string(size)});
    }
  }
  if (checked.Crc() != at.crc) RefuseArchive(MemberCrcDiffers, {at.name});
}
