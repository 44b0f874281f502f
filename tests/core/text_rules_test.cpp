#include <gtest/gtest.h>

#include "core/text_rules.h"

namespace {

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC; 0x95 0x5C is one character whose second
// byte is a backslash.
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
const std::string Kanji = "\x95\x5C";

}  // namespace

TEST(ExtractField, SplitsAtRunsOfDelimiters) {
  const struct {
    int n;
    const char *s, *delimiters, *field;
  } cases[] = {
      {1, "ABC=DM-Foo.ut2", "=", "ABC"}, {2, "ABC=DM-Foo.ut2", "=", "DM-Foo.ut2"}, {2, "[Cache]", "=", ""},
      {1, "=DM-Foo.ut2", "=", "DM-Foo.ut2"}, {2, "=DM-Foo.ut2", "=", ""}, {2, "A==B", "=", "B"},
      {2, "A=B=C", "=", "B"}, {3, "A=B=C=", "=", "C"}, {4, "A=B=C", "=", ""}, {2, "=A=B", "=", "B"},
      {1, "~ABC=DM-Foo.ut2", "=", "~ABC"}, {1, "MyMutator.u", ".", "MyMutator"}, {1, ".u", ".", "u"},
      {0, "A=B", "=", ""}, {-1, "A=B", "=", ""}, {1, "", "=", ""}, {1, "A=B", "", "A=B"}, {3, "a;b,c", ",;", "c"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractField(c.n, c.s, c.delimiters), c.field) << c.n << " of " << c.s;
}

TEST(AddTrailingBackslash, NormalisesOnlyLongPathsAndDrives) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"C:", "C:\\"}, {"C", "C"}, {"ab", "ab"}, {"\\", "\\"}, {"C:\\", "C:\\"},
      {"C:\\Games", "C:\\Games\\"}, {"C:\\Games\\", "C:\\Games\\"}, {"C:/Games/", "C:/Games/\\"},
  };
  for (const auto& [path, result] : cases) EXPECT_EQ(AddTrailingBackslash(path), result) << path;
}

TEST(PathFunctions, SplitAtTheLastSeparatorThatIsNoTrailByte) {
  const struct {
    std::string path, ext, name, folder;
  } cases[] = {
      {"a.b.u", ".u", "a.b.u", ""},
      {"My.Maps\\DM-Foo", "", "DM-Foo", "My.Maps\\"},
      {"name.", ".", "name.", ""},
      {"C:cache.ini", ".ini", "cache.ini", "C:"},
      {"C:\\UT2004\\Cache\\", "", "", "C:\\UT2004\\Cache\\"},
      {"a/b.ut2", ".ut2", "a/b.ut2", ""},
      {"Maps\\" + Kanji + ".ut2", ".ut2", Kanji + ".ut2", "Maps\\"},
      {Kanji + Kanji + "\\x.u", ".u", "x.u", Kanji + Kanji + "\\"},
      {"C:\\" + Kanji + "\\" + Kanji, "", Kanji, "C:\\" + Kanji + "\\"},
      {"ab\\\\c", "", "c", "ab\\\\"},  // a '\' after a plain byte that could be a trail byte
      {"x\\\x95", "", "\x95", "x\\"},  // a lead byte at the very end has no trail byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExtOf(c.path, ShiftJisLeadByte), c.ext) << c.path;
    EXPECT_EQ(FileNameOf(c.path, ShiftJisLeadByte), c.name) << c.path;
    EXPECT_EQ(FolderOf(c.path, ShiftJisLeadByte), c.folder) << c.path;
  }
  EXPECT_EQ(FileNameOf("Maps\\" + Kanji + ".ut2", NoLeadBytes), ".ut2") << "single-byte reading splits the pair";
}

TEST(TrimBlanks, RemovesEveryByteUpToSpaceAtBothEnds) {
  EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
  EXPECT_EQ(TrimBlanks(std::string("\0\x01 a b \x1F", 8)), "a b");
  EXPECT_EQ(TrimBlanks("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_FALSE(BeginsWith("dm-rankin.ut2", "DM-"));
  EXPECT_FALSE(BeginsWith("DM", "DM-"));
  EXPECT_EQ(UpperCaseAscii("abz-AZ\xE9{`"), "ABZ-AZ\xE9{`");
  EXPECT_EQ(ShownName(std::string("Nul\0l\r\n\t\x1F \x7F\xE9.u", 14)), "Nul?l???? \x7F\xE9.u");
}
