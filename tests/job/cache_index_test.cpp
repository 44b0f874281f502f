#include <gtest/gtest.h>

#include <algorithm>

#include "core/exceptions.h"
#include "core/index_lines.h"
#include "job/cache_index.h"
#include "support/test_files.h"
#include "win/files.h"

namespace {

using Lines = std::vector<std::string>;


std::string Entry(uint32_t n, const std::string& name) { return CacheGuid(n) + "-1=" + name; }

const Lines IndexLines = {"[Cache]", Entry(1, "DM-Rankin.ut2"), ";" + Entry(2, "Old.utx"), "", Entry(3, "MyMutator.u"),
                          Entry(4, "DM-Rankin.ut2")};

std::string Joined(const Lines& lines, const std::string& lineEnd) {
  std::string text;
  for (const auto& line : lines) text += line + lineEnd;
  return text;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "(no error)";
}

std::string FileError(const char* verb, const std::string& path, DWORD error) {
  return std::string("Cannot ") + verb + " file \"" + FullPathOf(path) + "\". " + SystemErrorText(error);
}

std::vector<std::string> NamesIn(const TTempFolder& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  TFindHandle search(::FindFirstFileA(folder.Sub("*").c_str(), &data));
  if (search) do
      if (data.cFileName[0] != '.') names.push_back(data.cFileName);
    while (::FindNextFileA(search.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(LoadCacheIndex, ReadsEveryLineEndAndTellsOfAnEmptyCache) {
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini");
  const std::string crLf = Joined(IndexLines, "\r\n");
  const struct {
    std::string bytes;
    bool empty;
  } cases[] = {
      {crLf, false}, {Joined(IndexLines, "\n"), false}, {Joined(IndexLines, "\r"), false},
      {crLf.substr(0, crLf.size() - 2), false}, {"", true}, {"[Cache]\r\n", true},
      {std::string("\0[Cache]\r\nK-1=a.ut2\r\n", 21), true},
  };
  for (const auto& c : cases) {
    WriteFileBytes(path, c.bytes);
    TCacheIndex index;
    EXPECT_EQ(index.LoadCacheIndex(path), c.empty ? TIndexLoad::Empty : TIndexLoad::Loaded);
    EXPECT_EQ(index.Loaded(), !c.empty) << testing::PrintToString(c.bytes);
    EXPECT_EQ(index.CacheList(), c.empty ? Lines{} : IndexLines);
    EXPECT_EQ(index.CacheDir(), folder.Path());
    EXPECT_EQ(index.CacheFileName(), "cache.ini");
    // The load shared the file with readers only and closed it again.
    TFileHandle alone(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(alone);
  }
}

TEST(LoadCacheIndex, NamesTheFullPathWhenTheFileCannotBeOpened) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("cache.ini"), Joined(IndexLines, "\r\n"));
  TCacheIndex index;
  ASSERT_EQ(index.LoadCacheIndex(folder.Sub("cache.ini")), TIndexLoad::Loaded);
  MakeFolders(folder.Sub("Folder.ini\\"));
  WriteFileBytes(folder.Sub("written.ini"), "[Cache]\r\n");
  TFileHandle writer(::CreateFileA(folder.Sub("written.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
  const std::pair<std::string, DWORD> cases[] = {
      {"missing.ini", ERROR_FILE_NOT_FOUND},
      {"NoSuchFolder\\cache.ini", ERROR_PATH_NOT_FOUND},
      {"written.ini", ERROR_SHARING_VIOLATION},  // open for writing by someone else
      {"Folder.ini", ERROR_ACCESS_DENIED},
  };
  for (const auto& [name, error] : cases) {
    EXPECT_EQ(MessageOf([&] { (void)index.LoadCacheIndex(folder.Sub(name)); }), FileError("open", folder.Sub(name), error));
    EXPECT_TRUE(index.Loaded() && index.CacheList().empty()) << "the list stays, emptied";
    EXPECT_EQ(index.CacheDir() + index.CacheFileName(), folder.Sub("cache.ini"));
    EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), -1);
  }
  EXPECT_NE(SystemErrorText(ERROR_FILE_NOT_FOUND).back(), '.') << "the error box adds the full stop";
}

// The look-up kept between calls must follow marks and direct changes of the lines.
TEST(CacheIndexEntries, AreFoundAfterEveryChangeOfTheLines) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("cache.ini"), Joined(IndexLines, "\r\n") + "=X=Y\r\n" + Entry(5, "X") + "\r\n");
  TCacheIndex index;
  EXPECT_THROW(index.MarkCacheEntry(0), EListError) << "no index yet";
  ASSERT_EQ(index.LoadCacheIndex(folder.Sub("cache.ini")), TIndexLoad::Loaded);
  EXPECT_EQ(index.FindCacheEntry("X"), 7);
  index.MarkCacheEntry(6);  // "~=X=Y" is found under X now
  EXPECT_EQ(index.FindCacheEntry("X"), 6);
  index.MarkCacheEntry(1);
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 1) << "a marked line still matches";
  index.MutableLines().insert(index.MutableLines().begin() + 1, Entry(9, "DM-Rankin.ut2"));
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 1);
}

// The save reads the file again: lines the game wrote since the load stay, in either encoding;
// every line but the marked ones is written back byte for byte, each ending in CR LF.
TEST(SaveCacheIndex, DropsTheMarkedLinesFromTheFileAsItStandsNow) {
  const std::string added = Entry(8, "CTF-New.ut2"), odd = "\x01odd=\xFF";
  const std::string twice = Entry(3, "MyMutator.u");  // one line of the index, and again below
  const Lines load = {"[Cache]", Entry(1, "DM-Rankin.ut2"), twice, odd, twice, Entry(4, "Old.utx")};
  const std::u16string wide = u"[Cache]\r\nKEY-1=\u5730\u56FE.ut2\r\n";
  const struct {
    const char* row;
    std::string later;        // the file once the game wrote it again; empty: as loaded
    std::string saved;        // the file after the save of marks on lines 1 and 2
  } cases[] = {
      {"unchanged", "", Joined({"[Cache]", odd, twice, Entry(4, "Old.utx")}, "\r\n")},
      {"a line added, one removed", Joined({"[Cache]", Entry(1, "DM-Rankin.ut2"), added, twice, odd, twice}, "\n"),
       Joined({"[Cache]", added, odd, twice}, "\r\n")},
      {"the marked lines gone already", Joined({"[Cache]", odd}, "\r"), Joined({"[Cache]", odd}, "\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    TTempFolder folder;
    const std::string path = folder.Sub("cache.ini");
    WriteFileBytes(path, Joined(load, "\n"));
    TCacheIndex index;
    ASSERT_EQ(index.LoadCacheIndex(path), TIndexLoad::Loaded);
    if (!std::string(c.later).empty()) WriteFileBytes(path, c.later);
    index.MarkCacheEntry(1);
    index.MarkCacheEntry(2);
    const Lines written = index.SaveCacheIndex(path);
    EXPECT_EQ(ReadFileBytes(path), c.saved);
    EXPECT_EQ(written, ReadIndexLines(c.saved));
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"cache.ini"});
  }
  // UTF-16LE: listed in the code page, a name it cannot spell with '?'; written back byte-exact.
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini"), utf16 = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  WriteFileBytes(path, utf16);
  TCacheIndex index;
  ASSERT_EQ(index.LoadCacheIndex(path), TIndexLoad::Loaded);
  EXPECT_EQ(index.CacheList(), (Lines{"[Cache]", "KEY-1=??.ut2"}));
  index.SaveCacheIndex(path);
  EXPECT_EQ(ReadFileBytes(path), utf16);
}

TEST(SaveCacheIndex, LeavesTheFormerIndexWhenItCannotBeReplaced) {
  TTempFolder folder;
  TCacheIndex index;
  WriteFileBytes(folder.Sub("source.ini"), "[Cache]\r\n" + Entry(7, "CTF-Face.ut2") + "\r\n");
  ASSERT_EQ(index.LoadCacheIndex(folder.Sub("source.ini")), TIndexLoad::Loaded);
  const std::string former = Joined(IndexLines, "\r\n");
  for (const char* name : {"held.ini", "shared.ini", "readonly.ini"}) WriteFileBytes(folder.Sub(name), former);
  TFileHandle holder(::CreateFileA(folder.Sub("held.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  TFileHandle reader(::CreateFileA(folder.Sub("shared.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder && reader && ::SetFileAttributesA(folder.Sub("readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  MakeFolders(folder.Sub("Folder.ini\\"));
  const std::vector<std::string> before = NamesIn(folder);

  const std::pair<std::string, DWORD> cases[] = {
      {"held.ini", ERROR_SHARING_VIOLATION},    // held without any sharing
      {"shared.ini", ERROR_SHARING_VIOLATION},  // a reader that does not share writing
      {"readonly.ini", ERROR_ACCESS_DENIED},
      {"Folder.ini", ERROR_ACCESS_DENIED},
      {"NoSuchFolder\\cache.ini", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& [name, error] : cases)
    EXPECT_EQ(MessageOf([&] { index.SaveCacheIndex(folder.Sub(name)); }), FileError("create", folder.Sub(name), error));
  holder.Reset();
  for (const char* name : {"held.ini", "shared.ini", "readonly.ini"}) EXPECT_EQ(ReadFileBytes(folder.Sub(name)), former);
  EXPECT_EQ(NamesIn(folder), before) << "no temporary file stays behind";
}

TEST(SaveCacheIndex, LeavesTheFormerIndexWhenTheWriteFails) {
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini");
  const std::string former = Joined(IndexLines, "\r\n");
  WriteFileBytes(path, former);
  for (const size_t failAfter : {size_t(0), size_t(1), size_t(40), size_t(1000)}) {
    TIndexIo failingWriter = TIndexIo::Standard();
    failingWriter.Write = [failAfter](HANDLE file, std::string_view bytes) {
      DWORD written = 0;
      const auto part = static_cast<DWORD>(std::min(failAfter, bytes.size()));
      if (part > 0) ::WriteFile(file, bytes.data(), part, &written, nullptr);
      return false;
    };
    TCacheIndex index(failingWriter);
    ASSERT_EQ(index.LoadCacheIndex(path), TIndexLoad::Loaded);
    index.MarkCacheEntry(1);
    EXPECT_EQ(MessageOf([&] { index.SaveCacheIndex(path); }), "Stream write error") << failAfter;
    EXPECT_EQ(ReadFileBytes(path), former) << failAfter;
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"cache.ini"}) << failAfter;
  }
}
