#include <gtest/gtest.h>

#include "core/archive_test_helpers.h"
#include "core/archive_texts.h"
#include "core/zip_archive.h"

namespace {

std::string Le16(size_t v) { return {char(v), char(v >> 8)}; }
std::string Le32(size_t v) { return Le16(v) + Le16(v >> 16); }
std::uint32_t LeAt(const std::string& s, size_t at, int bytes) {
  std::uint32_t v = 0;
  while (bytes-- > 0) v = v << 8 | std::uint8_t(s[at + bytes]);
  return v;
}
void Put(std::string& s, size_t at, std::uint32_t v, int bytes) { s.replace(at, bytes, Le32(v).substr(0, bytes)); }

// Deflate data alone: a zlib stream without its 2-byte header and 4-byte check.
std::string RawDeflated(const std::string& original) {
  const std::string stream = Compressed(original, 9);
  return stream.substr(2, stream.size() - 6);
}

// An archive laid out here field by field; flag 8 moves a member's CRC and sizes from its local
// header to a descriptor without signature after its data.
struct TRawMember {
  std::string name, original = "";
  std::uint16_t method = 0, flags = 0;
};
std::string RawZip(const std::vector<TRawMember>& members) {
  std::string body, directory;
  for (const TRawMember& m : members) {
    const std::string data = m.method == 8 ? RawDeflated(m.original) : m.original;
    const std::string sizes = Le32(crc32(0, reinterpret_cast<const Bytef*>(m.original.data()), uInt(m.original.size()))) +
                              Le32(data.size()) + Le32(m.original.size());
    const std::string common = Le16(20) + Le16(m.flags) + Le16(m.method) + Le32(0x5A216000);
    const std::string nameSize = Le16(m.name.size()) + Le16(0), descriptor = m.flags & 8 ? sizes : "";
    directory += Le32(0x02014B50) + Le16(20) + common + sizes + nameSize + Le32(0) + Le16(0) + Le32(0) + Le32(body.size()) + m.name;
    body += Le32(0x04034B50) + common + (descriptor.empty() ? sizes : std::string(12, '\0')) + nameSize + m.name + data + descriptor;
  }
  return body + directory + Le32(0x06054B50) + Le32(0) + Le16(members.size()) + Le16(members.size()) +
         Le32(directory.size()) + Le32(body.size()) + Le16(0);
}

// Where the k-th directory entry and its local header are, and a field set alike in both.
size_t EntryAt(const std::string& a, int k) {
  size_t at = LeAt(a, a.size() - 6, 4);
  for (; k > 0; --k) at += 46 + LeAt(a, at + 28, 2) + LeAt(a, at + 30, 2) + LeAt(a, at + 32, 2);
  return at;
}
size_t LocalAt(const std::string& a, int k) { return LeAt(a, EntryAt(a, k) + 42, 4); }
void PutMember(std::string& a, int k, size_t entryField, std::uint32_t v, int bytes) {
  Put(a, LocalAt(a, k) + entryField - 2, v, bytes);
  Put(a, EntryAt(a, k) + entryField, v, bytes);
}
constexpr size_t FlagsField = 8, MethodField = 10, CrcField = 16, CompressedSizeField = 20, SizeField = 24;

const std::vector<TRawMember> HandMade = {
    {"Maps/DM-A.ut2", "stored bytes"},
    {"System/B.u", PackageLikeBytes(5000), 8},
    {"Sounds/\xC3\xA9.uax", std::string(700, 's'), 8, 0x0808},  // a UTF-8 name, sizes in a descriptor
    {"Maps/"},
};

// Every member's folder and file name, size and bytes; never more bytes than its size, which is
// what a caller checks the free space against.
std::vector<std::string> ReadAll(const std::string& archive, size_t piece = SIZE_MAX) {
  TMemoryFile file(archive, piece);
  TZipReader reader(file, NoLeadBytes);
  std::vector<std::string> listed;
  for (size_t i = 0; i < reader.Members().size(); ++i) {
    const TZipMember& m = reader.Members()[i];
    TMemorySink sink(m.size);
    reader.Extract(i, sink);
    listed.push_back(m.folder + "|" + m.fileName + (m.utf8Name ? "|UTF-8|" : "|") + std::to_string(m.size) + "|" + sink.bytes);
  }
  return listed;
}

}  // namespace

TEST(SplitMemberName, KeepsNamesInsideTheArchive) {
  const auto shiftJis = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
  const struct {
    const char* name;
    const char* split;  // folder|file name, or null when refused
    TLeadByteTest isLeadByte = NoLeadBytes;
  } cases[] = {
      {"DM-A.ut2", "|DM-A.ut2"}, {"Maps/DM-A.ut2", "Maps|DM-A.ut2"}, {"Maps\\Sub\\A.ut2", "Maps/Sub|A.ut2"},
      {"Maps/", "Maps|"}, {"a..b/.c..d", "a..b|.c..d"}, {"\x95\\/x.u", "\x95\\|x.u", shiftJis}, {"\x95\\/x.u", nullptr},
      {"", nullptr}, {"/", nullptr}, {"/abs.u", nullptr}, {"\\abs.u", nullptr}, {"\\\\server\\share\\x.u", nullptr},
      {"C:/x.u", nullptr}, {"C:x.u", nullptr}, {"../x.u", nullptr}, {"..\\x.u", nullptr}, {"Maps/../../x.u", nullptr},
      {"Maps/..", nullptr}, {"./x.u", nullptr}, {"Maps//x.u", nullptr}, {"Maps/x.u:stream", nullptr},
  };
  for (const auto& c : cases) {
    std::string folder, fileName;
    const bool inside = SplitMemberName(c.name, c.isLeadByte, folder, fileName);
    EXPECT_EQ(inside ? folder + "|" + fileName : "refused", c.split ? c.split : "refused") << c.name;
  }
}

TEST(ZipArchive, ReadsArchivesLaidOutByHandAndWhatItWrites) {
  EXPECT_EQ(ReadAll(RawZip(HandMade), 100), (std::vector<std::string>{"Maps|DM-A.ut2|12|stored bytes",
            "System|B.u|5000|" + HandMade[1].original, "Sounds|\xC3\xA9.uax|UTF-8|700|" + HandMade[2].original}))
      << "a folder's own entry is not listed";

  const std::pair<std::string, std::string> members[] = {{"Readme.txt", "hello"}, {"Maps/DM-Rankin.ut2", PackageLikeBytes(300000)},
                                                         {"Maps\\Sub\\Empty.ut2", ""}, {"System/Pack.u", PackageLikeBytes(70000)}};
  TMemorySink archive;
  TZipWriter writer(archive);
  for (const auto& [path, data] : members) {
    TMemorySource source(data, 5000);
    writer.Add(path, source, {0x5A21, 0x6000});
  }
  const std::uint64_t written = writer.Finish();
  EXPECT_EQ(written, archive.bytes.size());
  const std::vector<std::string> expected = {"|Readme.txt|UTF-8|5|hello", "Maps|DM-Rankin.ut2|UTF-8|300000|" + members[1].second,
                                             "Maps/Sub|Empty.ut2|UTF-8|0|", "System|Pack.u|UTF-8|70000|" + members[3].second};
  std::string commented = archive.bytes + "a comment";
  Put(commented, archive.bytes.size() - 2, 9, 2);
  EXPECT_EQ(ReadAll(archive.bytes, 4095), expected);
  EXPECT_EQ(ReadAll(commented), expected);
}

TEST(ZipReader, RefusesEveryFaultyArchiveWithItsReason) {
  using namespace ArchiveTexts;
  const std::string base = RawZip(HandMade);
  const size_t end = base.size() - 22, directory = LeAt(base, end + 16, 4);
  const auto byHand = [](std::vector<TRawMember> members) { return [=](std::string& a) { a = RawZip(members); }; };
  const struct {
    const char* what;
    std::function<void(std::string&)> fault;
    const char* reason;
  } cases[] = {
      {"untouched", [](std::string&) {}, nullptr},
      {"no archive", [](std::string& a) { a = "PK\x05\x06"; }, NotZipArchive},
      {"no end record", [&](std::string& a) { a[end] = 'X'; }, NotZipArchive},
      {"one byte short", [](std::string& a) { a.pop_back(); }, NotZipArchive},
      {"one of several disks", [&](std::string& a) { Put(a, end + 4, 1, 2); }, SpannedArchive},
      {"a member on another disk", [](std::string& a) { Put(a, EntryAt(a, 1) + 34, 1, 2); }, SpannedArchive},
      {"ZIP64's directory offset", [&](std::string& a) { Put(a, end + 16, 0xFFFFFFFF, 4); }, Zip64Archive},
      {"ZIP64's member size", [](std::string& a) { PutMember(a, 1, SizeField, 0xFFFFFFFF, 4); }, Zip64Archive},
      {"the directory a byte off", [&](std::string& a) { Put(a, end + 16, std::uint32_t(directory + 1), 4); }, DirectoryMisplaced},
      {"a byte before the end record", [&](std::string& a) { a.insert(end, "x"); }, DirectoryMisplaced},
      {"an entry's signature", [](std::string& a) { a[EntryAt(a, 1)] = 'X'; }, DirectoryDamaged},
      {"an entry more counted", [&](std::string& a) { Put(a, end + 8, 0x00050005, 4); }, DirectoryDamaged},
      {"an entry fewer counted", [&](std::string& a) { Put(a, end + 8, 0x00030003, 4); }, DirectoryDamaged},
      {"a local header's signature", [](std::string& a) { a[LocalAt(a, 1)] = 'X'; }, LocalHeaderDamaged},
      {"another name in the local header", [](std::string& a) { a[LocalAt(a, 0) + 30] = 'm'; }, MemberRecordsDisagree},
      {"another size in the local header", [](std::string& a) { Put(a, LocalAt(a, 1) + 18, 1, 4); }, MemberRecordsDisagree},
      {"a stored member of two sizes", [](std::string& a) { PutMember(a, 0, CompressedSizeField, 11, 4); }, MemberRecordsDisagree},
      {"a descriptor with another CRC", [](std::string& a) { a[LocalAt(a, 3) - 12] ^= 1; }, MemberRecordsDisagree},
      {"bzip2", [](std::string& a) { PutMember(a, 1, MethodField, 12, 2); }, UnsupportedMethod},
      {"encrypted", [](std::string& a) { PutMember(a, 1, FlagsField, 1, 2); }, EncryptedMember},
      {"a member into the next", [](std::string& a) { PutMember(a, 0, CompressedSizeField, 40, 4); PutMember(a, 0, SizeField, 40, 4); }, MembersOverlap},
      {"a member into the directory", [](std::string& a) { PutMember(a, 3, CompressedSizeField, 1, 4); PutMember(a, 3, SizeField, 1, 4); }, MemberOverlapsDirectory},
      {"a local header in the directory", [&](std::string& a) { Put(a, EntryAt(a, 1) + 42, std::uint32_t(directory), 4); }, MemberOverlapsDirectory},
      {"another CRC", [](std::string& a) { PutMember(a, 1, CrcField, LeAt(a, EntryAt(a, 1) + CrcField, 4) ^ 1, 4); }, MemberCrcDiffers},
      {"a byte more claimed", [](std::string& a) { PutMember(a, 1, SizeField, 5001, 4); }, MemberSizeDiffers},
      {"a byte fewer claimed", [](std::string& a) { PutMember(a, 1, SizeField, 4999, 4); }, MemberSizeDiffers},
      {"a reserved block type", [](std::string& a) { a[LocalAt(a, 1) + 40] = '\xFF'; }, MemberNotCompressedData},
      {"a name climbing out", byHand({{"../x.u", "x"}}), UnsafeMemberName},
      {"a name climbing out by '\\'", byHand({{"Maps\\..\\..\\x.u", "x"}}), UnsafeMemberName},
      {"an absolute name", byHand({{"/x.u", "x"}}), UnsafeMemberName},
      {"a name with a drive", byHand({{"C:x.u", "x"}}), UnsafeMemberName},
      {"a folder entry climbing out", byHand({{"../"}}), UnsafeMemberName},
  };
  for (const auto& c : cases) {
    std::string archive = base;
    c.fault(archive);
    for (size_t piece : {size_t{7}, SIZE_MAX})
      EXPECT_STREQ(RefusalOf([&] { ReadAll(archive, piece); }), c.reason) << c.what << ", pieces of " << piece;
  }
}

TEST(ZipWriter, RefusesWhatItCannotWrite) {
  using namespace ArchiveTexts;
  // A small size limit stands for 4 GiB: what reaches it is refused, what stays below it written.
  const auto write = [](const std::vector<std::string>& members, std::uint64_t limit) {
    TMemorySink archive;
    TZipWriter writer(archive, limit);
    for (const std::string& data : members) {
      TMemorySource source(data);
      writer.Add("m", source);
    }
    return writer.Finish();
  };
  const std::string zeros(1000, '\0');
  const std::vector<std::string> several(5, PackageLikeBytes(200));
  const std::uint64_t size = write(several, ZipSizeLimit);
  EXPECT_STREQ(RefusalOf([&] { write({zeros}, zeros.size()); }), MemberTooLarge);
  EXPECT_STREQ(RefusalOf([&] { write({zeros}, zeros.size() + 1); }), nullptr);
  EXPECT_STREQ(RefusalOf([&] { write(several, size); }), ArchiveTooLarge);
  EXPECT_STREQ(RefusalOf([&] { write(several, size + 1); }), nullptr);

  TMemorySink archive;
  TZipWriter writer(archive);
  TMemorySource empty("");
  for (const char* name : {"", "Maps/", "../x.u", "C:\\x.u", "Maps/./x.u"})
    EXPECT_STREQ(RefusalOf([&] { writer.Add(name, empty); }), UnsafeMemberName) << name;
  // 65535 in the end record's count would stand for the ZIP64 extensions.
  for (size_t i = 0; i < 65534; ++i) writer.Add(std::to_string(i), empty);
  EXPECT_STREQ(RefusalOf([&] { writer.Add("one too many", empty); }), TooManyMembers);
  writer.Finish();
  TMemoryFile file(archive.bytes);
  EXPECT_EQ(TZipReader(file, NoLeadBytes).Members().size(), 65534u) << "refused members left nothing behind";
}

TEST(ZipArchive, StopsAtAStreamsFailureAndLetsItThrough) {
  const std::string data = PackageLikeBytes(200000);
  const auto write = [](TMemorySource in, TMemorySink& out) {
    TZipWriter writer(out);
    writer.Add("Maps/DM-A.ut2", in);
    writer.Finish();
  };
  TMemorySink archive;
  write(TMemorySource(data), archive);
  EXPECT_EQ(PassedFailureOf([&] { TMemorySink full(archive.bytes.size() / 2); write(TMemorySource(data), full); }), "disk full");
  EXPECT_EQ(PassedFailureOf([&] { TMemorySink out; write(TMemorySource(data, SIZE_MAX, 100000), out); }), "read failed");
  TMemoryFile file(archive.bytes);
  EXPECT_EQ(PassedFailureOf([&] { TMemorySink full(100000); TZipReader(file, NoLeadBytes).Extract(0, full); }), "disk full");
}
