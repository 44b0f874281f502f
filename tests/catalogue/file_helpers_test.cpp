#include <gtest/gtest.h>

#include "catalogue/file_helpers.h"
#include "support/test_files.h"

TEST(FileSizeOf, SizesTheFirstEntryOfAnyKind) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("empty.uxx"), "");
  WriteFileBytes(folder.Sub("DM-Rankin.ut2"), PayloadBytes(5000, 1));
  WriteFileBytes(folder.Sub("notes.txt"), PayloadBytes(7, 2));
  MakeFolders(folder.Sub("Folder.uxx\\"));
  const struct {
    std::string name;
    int32_t size;
  } cases[] = {
      {"missing.uxx", -1},
      {"empty.uxx", 0},
      {"Folder.uxx", 0},
      {"DM-Rankin.ut2", 5000},
      {"dm-rankin.UT2", 5000},  // the file system ignores case
      {"DM-*.ut2", 5000},
      {"*.txt", 7},
      {"?otes.txt", 7},
      {"*.none", -1},
      {"missing\\empty.uxx", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FileSizeOf(folder.Path() + c.name), c.size) << c.name;
}

TEST(FileSizeOf, ReadsTheLowWordOfTheSizeAsSigned) {
  TTempFolder folder;
  const std::string path = folder.Sub("huge.uxx");
  {
    TFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end;
    end.QuadPart = 3LL << 30;  // 3 GiB, sparse on the host's disk
    ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.Get()));
  }
  EXPECT_EQ(FileSizeOf(path), -1073741824);
  ::DeleteFileA(path.c_str());
}

TEST(FindFile, KeepsTheSearchOpenAndGivesTheLocalDosTime) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("a.ut2"), "a");
  WriteFileBytes(folder.Sub("b.ut2"), "bb");
  const WORD dosDate = ((2004 - 1980) << 9) | (3 << 5) | 16;
  const WORD dosTime = (12 << 11) | (34 << 5) | (56 / 2);
  {
    TFileHandle file(::CreateFileA(folder.Sub("a.ut2").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    FILETIME local, utc;
    ASSERT_TRUE(::DosDateTimeToFileTime(dosDate, dosTime, &local));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
    ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &utc));
  }
  TDirEntry entry;
  ASSERT_TRUE(FindFile(folder.Sub("a.ut2"), entry));
  EXPECT_EQ(entry.Name, "a.ut2");
  EXPECT_EQ(entry.Size, 1);
  EXPECT_EQ(entry.Time, (static_cast<uint32_t>(dosDate) << 16) | dosTime);
  EXPECT_FALSE(entry.Attr & FILE_ATTRIBUTE_DIRECTORY);

  TDirEntry both;
  ASSERT_TRUE(FindFile(folder.Sub("*.ut2"), both));
  ASSERT_TRUE(both.Search);
  WIN32_FIND_DATAA next;
  EXPECT_TRUE(::FindNextFileA(both.Search.Get(), &next)) << "the search goes on from the first match";
  EXPECT_NE(std::string(next.cFileName), both.Name);

  TDirEntry none;
  EXPECT_FALSE(FindFile(folder.Sub("c.ut2"), none));
  EXPECT_FALSE(none.Search);
}

TEST(IsFilePresent, CountsFilesButNotFolders) {
  TTempFolder folder;
  MakeFolders(folder.Sub("Maps\\DM-Folder.ut2\\"));
  WriteFileBytes(folder.Sub("Maps\\DM-Rankin.ut2"), "");
  EXPECT_TRUE(IsFilePresent(folder.Sub("Maps\\DM-Rankin.ut2")));
  EXPECT_TRUE(IsFilePresent(folder.Sub("MAPS\\dm-rankin.ut2")));
  EXPECT_FALSE(IsFilePresent(folder.Sub("Maps\\DM-Folder.ut2")));
  EXPECT_FALSE(IsFilePresent(folder.Sub("Maps")));
  EXPECT_FALSE(IsFilePresent(folder.Sub("Maps\\CTF-Face.ut2")));
  EXPECT_FALSE(IsFilePresent(folder.Sub("Sounds\\DM-Rankin.ut2")));
}

TEST(FullPathOf, ResolvesAgainstTheCurrentFolder) {
  TTempFolder folder;
  MakeFolders(folder.Sub("Cache\\"));
  char former[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, former), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(folder.Sub("Cache").c_str()));
  const std::string here = FullPathOf(".");
  const std::string cache = folder.Sub("Cache\\cache.ini");
  const std::string inCache = FullPathOf("cache.ini");
  const std::string beside = FullPathOf("..\\System\\ucc.exe");
  const std::string absolute = FullPathOf(cache);
  ::SetCurrentDirectoryA(former);
  EXPECT_EQ(inCache, cache);
  EXPECT_EQ(beside, folder.Sub("System\\ucc.exe"));
  EXPECT_EQ(absolute, cache);
  EXPECT_EQ(here + "\\cache.ini", cache);
}
