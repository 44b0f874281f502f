#include <gtest/gtest.h>

#include "support/test_files.h"
#include "win/file_streams.h"
#include "win/files.h"

TEST(FileSizeOf, SizesTheEntryOfTheNameOfAnyKindWhileOnlyFilesArePresent) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("empty.uxx"), "");
  WriteFileBytes(folder.Sub("DM-Rankin.ut2"), PayloadBytes(5000, 1));
  MakeFolders(folder.Sub("Folder.uxx\\"));
  const struct {
    std::string name;
    int64_t size;
    bool present;
  } cases[] = {
      {"missing.uxx", -1, false}, {"empty.uxx", 0, true},    {"Folder.uxx", 0, false},
      {"dm-rankin.UT2", 5000, true}, {"DM-*.ut2", -1, false}, {"?m-rankin.ut2", -1, false},
      {"DM-Rankin<ut2", -1, false}, {"*", -1, false},       {"missing\\empty.uxx", -1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileSizeOf(folder.Path() + c.name), c.size) << c.name;
    EXPECT_EQ(IsFilePresent(folder.Path() + c.name), c.present) << c.name;
  }

  // 3 GiB, sparse on the host's disk.
  WriteFileBytes(folder.Sub("huge.uxx"), "", 3LL << 30);
  EXPECT_EQ(FileSizeOf(folder.Sub("huge.uxx")), 3LL << 30);
}

TEST(LastWriteDosTime, GivesTheLocalDosTime) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("a.ut2"), "a");
  const WORD dosDate = ((2004 - 1980) << 9) | (3 << 5) | 16;
  const WORD dosTime = (12 << 11) | (34 << 5) | (56 / 2);
  FILETIME local, utc;
  ASSERT_TRUE(::DosDateTimeToFileTime(dosDate, dosTime, &local) && ::LocalFileTimeToFileTime(&local, &utc));
  TFileHandle file(::CreateFileA(folder.Sub("a.ut2").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &utc));
  file.Reset();
  EXPECT_EQ(TFileSource(folder.Sub("a.ut2"), "").LastWriteDosTime(), (static_cast<uint32_t>(dosDate) << 16) | dosTime);
}

TEST(FullPathOf, ResolvesAgainstTheCurrentFolder) {
  TTempFolder folder;
  MakeFolders(folder.Sub("Cache\\"));
  char former[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, former), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(folder.Sub("Cache").c_str()));
  const std::string inCache = FullPathOf("cache.ini"), beside = FullPathOf("..\\System\\ucc.exe");
  ::SetCurrentDirectoryA(former);
  EXPECT_EQ(inCache, folder.Sub("Cache\\cache.ini"));
  EXPECT_EQ(beside, folder.Sub("System\\ucc.exe"));
}

TEST(CodePageText, TurnsIntoUtf8AndBack) {
  ASSERT_EQ(::GetACP(), 1252u) << "the names below are bytes of code page 1252";
  EXPECT_EQ(Utf8OfAnsi("Maps\\DM-Caf\xE9\x80.ut2"), "Maps\\DM-Caf\xC3\xA9\xE2\x82\xAC.ut2");
  EXPECT_EQ(AnsiOfUtf8("Maps\\DM-Caf\xC3\xA9\xE2\x82\xAC.ut2"), "Maps\\DM-Caf\xE9\x80.ut2");
}
