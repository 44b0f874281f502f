#include <gtest/gtest.h>

#include "core/absolute_paths.h"
#include "core/game_ini.h"
#include "core/vdf_library_folders.h"

namespace {

using Paths = std::vector<std::string>;

// Code page 932: 0x95 0x5C is one character whose second byte is a backslash.
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

TEST(ReadLibraryFolderPaths, FindsEveryFolderAndSurvivesAnyText) {
  const struct {
    std::string text;
    Paths paths;
  } cases[] = {
      {R"("libraryfolders" { "0" { "path" "C:\\Program Files (x86)\\Store" "label" "" "apps" { "4000" "123" } }
          "1" { "path" "D:\\Games" } })",
       {"C:\\Program Files (x86)\\Store", "D:\\Games"}},
      {"\xEF\xBB\xBF\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1690000000\"\n\t\"ContentStatsID\"\t\"-42\"\n"
       "\t\"1\"\t\"D:\\\\Games\"\n\t\"2\"\t\"E:\\\\More Games\"\n}\n",
       {"D:\\Games", "E:\\More Games"}},
      {R"("a" { "b" { "c" { "PATH" "F:\\Deep" } } "Path" "G:\\Shallow" } "path" "H:\\Top")",
       {"F:\\Deep", "G:\\Shallow", "H:\\Top"}},
      {R"("x" { "1" "D:\\NotALibrary" "path" "1" } "LibraryFolders" { "1a" "D:\\Named" "7" { "path" "E:\\x" } })",
       {"E:\\x"}},
      {"// \"path\" \"C:\\\\Commented\"\n\"libraryfolders\" { // trailing\n \"0\" { \"path\" \"C:\\\\a//b\" } }",
       {"C:\\a//b"}},
      {R"("path" "C:\\Say \"hi\"\\x" "path" "C:\Single\new" "path" "\\\\server\\share\\lib")",
       {"C:\\Say \"hi\"\\x", "C:\\Single\\new", "\\\\server\\share\\lib"}},
      {R"(libraryfolders { 0 { path D:/Bare } } "path" "E:\\x" [$WIN32] "path" "F:\\y")", {"D:/Bare", "E:\\x", "F:\\y"}},
      {R"("path" "relative\\lib" "path" "" "path" "C:\\ok")" "\"path\" \"C:\\\\tab\there\"", {"C:\\ok"}},
      {R"("path" "\\\\.\\PhysicalDrive0" "path" "\\\\?\\C:\\x" "path" "\\Rooted")", {}},
      {R"("libraryfolders" { "0" { "path" "C:\\Read" } "1" { "path" "D:\\Unterminated)", {"C:\\Read"}},
      {R"("libraryfolders" { "0" { "path" "C:\\Read" )", {"C:\\Read"}},
      {R"(} } "path" "C:\\AfterStrayBraces" { { "path")", {"C:\\AfterStrayBraces"}},
      {R"("path" { "path" "C:\\InsideBlockNamedPath" } "path")", {"C:\\InsideBlockNamedPath"}},
      {std::string("\0\x01\xFF{\"path\"\"C:\\\\Tight\"}[unclosed", 31), {"C:\\Tight"}},
      {"", {}},
      {"\"", {}},
      {"\\", {}},
      {"/", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLibraryFolderPaths(c.text), c.paths) << c.text;
}

// Only the one value changes: every other byte and line end stays; a value is added after the
// section's last line that holds anything, in the file's own line end.
TEST(PurgeCacheDays, IsReadAndSetAsTheGameReadsIt) {
  const struct {
    std::string ini;
    std::optional<int> days;
    std::string kept;  // with PurgeCacheDays=0
  } cases[] = {
      {"[URL]\r\nPort=7777\r\n[Core.System]\r\nPurgeCacheDays=30\r\nCachePath=../Cache\r\n", 30,
       "[URL]\r\nPort=7777\r\n[Core.System]\r\nPurgeCacheDays=0\r\nCachePath=../Cache\r\n"},
      {"[core.system]\npurgecachedays=-3 days\nPurgeCacheDays=9\n", -3, "[core.system]\npurgecachedays=0\nPurgeCacheDays=9\n"},
      {"[Core.System]\nCachePath=../Cache\n\n[Engine.Engine]\nPurgeCacheDays=5\n", std::nullopt,
       "[Core.System]\nCachePath=../Cache\nPurgeCacheDays=0\n\n[Engine.Engine]\nPurgeCacheDays=5\n"},
      {"[Core.System]\r\n PurgeCacheDays=5\r\nPaths=../System/*.u", std::nullopt,
       "[Core.System]\r\n PurgeCacheDays=5\r\nPaths=../System/*.u\r\nPurgeCacheDays=0"},
      {"[Core.System]\nPurgeCacheDays=\n[Core.System]\nPurgeCacheDays=4\n", 0,
       "[Core.System]\nPurgeCacheDays=0\n[Core.System]\nPurgeCacheDays=4\n"},
      {"[Core.System]\nA=1\n[X]\n[Core.System]\nPurgeCacheDays=14\n", 14, "[Core.System]\nA=1\n[X]\n[Core.System]\nPurgeCacheDays=0\n"},
      {"[Engine.Engine]\r\nRenderDevice=D3D\r\n", std::nullopt,
       "[Engine.Engine]\r\nRenderDevice=D3D\r\n[Core.System]\r\nPurgeCacheDays=0\r\n"},
      {"", std::nullopt, "[Core.System]\r\nPurgeCacheDays=0\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadPurgeCacheDays(c.ini), c.days) << c.ini;
    EXPECT_EQ(WithPurgeCacheDays(c.ini, 0), c.kept) << c.ini;
  }
}

TEST(ReadGameCachePath, TakesTheFirstCachePathOfCoreSystem) {
  const struct {
    const char* ini;
    std::optional<std::string> value;
  } cases[] = {
      {"[URL]\r\nProtocol=unreal\r\n[Core.System]\r\nPurgeCacheDays=30\r\nCachePath=../Cache\r\nCacheExt=.uxx\r\n",
       "../Cache"},
      {"[core.system]\ncachepath  =   D:\\UTCache  \t\n", "D:\\UTCache"},
      {"\xEF\xBB\xBF[ Core.System ]\n\tCACHEPATH=..\\..\\Elsewhere\\Cache\n", "..\\..\\Elsewhere\\Cache"},
      {"[Core.System]\n;CachePath=Commented\n  ; CachePath=Indented\nCachePath=A;B\nCachePath=Second\n", "A;B"},
      {"[Core.System]\nOther=1\n[Core.System]\nCachePath=InRepeatedSection\n", "InRepeatedSection"},
      {"[Core.System]\nCachePath=\n", ""},
      {"[Engine.GameEngine]\nCachePath=WrongSection\n[Core.System]\nPaths=../System/*.u\n", std::nullopt},
      {"CachePath=BeforeAnySection\n[Core.SystemX]\nCachePath=x\n[Core.System]\nCachePathX=x\nCache Path=x\n",
       std::nullopt},
      {"[Core.System]\nCachePath\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadGameCachePath(c.ini), c.value) << c.ini;
}

TEST(ResolveCacheFolder, FoldsRelativePathsOntoTheSystemFolder) {
  const std::string kanji = "\x95\x5C";
  const struct {
    std::string cachePath, systemFolder;
    std::optional<std::string> folder;
  } cases[] = {
      {"../Cache", "C:\\UT2004\\System", "C:\\UT2004\\Cache\\"},
      {"..\\Cache\\", "C:\\UT2004\\System\\", "C:\\UT2004\\Cache\\"},
      {"..\\..\\Elsewhere\\Cache", "C:\\Games\\UT2004\\System", "C:\\Games\\Elsewhere\\Cache\\"},
      {"../../../../../Cache", "C:\\UT2004\\System", "C:\\Cache\\"},
      {"./Sub//./Cache/.", "C:/UT2004/System/", "C:\\UT2004\\System\\Sub\\Cache\\"},
      {".", "C:\\UT2004\\System", "C:\\UT2004\\System\\"},
      {"..", "C:\\", "C:\\"},
      {"D:\\UTCache", "C:\\UT2004\\System", "D:\\UTCache\\"},
      {"d:/UT Cache/../Cache2", "C:\\UT2004\\System", "d:\\Cache2\\"},
      {"E:\\", "C:\\UT2004\\System", "E:\\"},
      {"\\Cache", "C:\\UT2004\\System", "C:\\Cache\\"},
      {"/Cache", "\\\\nas\\games\\UT2004\\System", "\\\\nas\\games\\Cache\\"},
      {"..\\..\\..\\Cache", "\\\\nas\\games\\UT2004\\System", "\\\\nas\\games\\Cache\\"},
      {"\\\\server\\share\\..\\Cache", "C:\\UT2004\\System", "\\\\server\\share\\Cache\\"},
      {"//server/share", "C:\\UT2004\\System", "\\\\server\\share\\"},
      {kanji + "\\Cache", "C:\\" + kanji + "\\System", "C:\\" + kanji + "\\System\\" + kanji + "\\Cache\\"},
      {"..\\Cache", "C:\\" + kanji + "x", "C:\\Cache\\"},
      {"", "C:\\UT2004\\System", std::nullopt},
      {"D:Cache", "C:\\UT2004\\System", std::nullopt},
      {"\\\\server", "C:\\UT2004\\System", std::nullopt},
      {"\\\\server\\", "C:\\UT2004\\System", std::nullopt},
      {"\\\\.\\COM1", "C:\\UT2004\\System", std::nullopt},
      {"..\\Cache", "UT2004\\System", std::nullopt},
      {"..\\Cache", "", std::nullopt},
      {"..\\Ca\tche", "C:\\UT2004\\System", std::nullopt},
      {"D:\\UTCache", std::string("C:\\UT2004\\Sys\x1Ftem"), std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ResolveCacheFolder(c.cachePath, c.systemFolder, ShiftJisLeadByte), c.folder)
        << c.cachePath << " in " << c.systemFolder;
}
