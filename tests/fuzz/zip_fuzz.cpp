// Fuzz target for zip archives. An even first byte: the rest is read as an archive, in pieces of
// a size the byte sets, and every member extracted; a refusal must be an EArchiveError, every
// listed name a plain path inside the archive, and no member more or fewer bytes than listed. An
// odd first byte: the rest is cut at each '|' into "name=bytes" members, written as an archive and
// read back exactly; a name the writer refuses leaves the archive as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive_error.h"
#include "core/memory_streams.h"
#include "core/zip_archive.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string_view::npos;
}

void ReadArchive(std::string_view bytes, size_t piece) {
  TMemoryFile file(bytes, piece);
  try {
    TZipReader reader(file, NoLeadBytes);
    for (size_t i = 0; i < reader.Members().size(); ++i) {
      const TZipMember& member = reader.Members()[i];
      Check(IsPlainName(member.fileName));
      for (size_t start = 0; !member.folder.empty();) {
        const size_t end = member.folder.find('/', start);
        Check(IsPlainName(std::string_view(member.folder).substr(start, end - start)));
        if (end == std::string::npos) break;
        start = end + 1;
      }
      TMemorySink sink(member.size);  // more than its size is a finding
      try {
        reader.Extract(i, sink);
        Check(sink.bytes.size() == member.size);
      } catch (const EArchiveError&) {
      }
    }
  } catch (const EArchiveError&) {
  }
}

void RoundTrip(std::string_view text) {
  struct TExpected {
    std::string folder, fileName, data;
  };
  std::vector<TExpected> expected;
  TMemorySink archive;
  TZipWriter writer(archive);
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('|', start), text.size());
    const std::string_view member = text.substr(start, end - start);
    start = end + 1;
    const size_t equals = std::min(member.find('='), member.size());
    const std::string_view name = member.substr(0, equals), data = member.substr(std::min(equals + 1, member.size()));
    TExpected entry{"", "", std::string(data)};
    const bool plain = SplitMemberName(name, NoLeadBytes, entry.folder, entry.fileName) && !entry.fileName.empty();
    TMemorySource source(data, 1 + name.size());
    try {
      writer.Add(name, source);
      Check(plain);
      expected.push_back(entry);
    } catch (const EArchiveError&) {
      Check(!plain);
    }
  }
  writer.Finish();
  TMemoryFile file(archive.bytes);
  TZipReader reader(file, NoLeadBytes);
  Check(reader.Members().size() == expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const TZipMember& member = reader.Members()[i];
    Check(member.folder == expected[i].folder && member.fileName == expected[i].fileName);
    TMemorySink sink;
    reader.Extract(i, sink);
    Check(sink.bytes == expected[i].data);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1)
    RoundTrip(rest);
  else
    ReadArchive(rest, data[0] == 0 ? SIZE_MAX : data[0] / 2);
  return 0;
}
