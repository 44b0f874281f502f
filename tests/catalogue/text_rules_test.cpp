#include <gtest/gtest.h>

#include "catalogue/text_rules.h"

namespace {

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC; the trail byte of many pairs is 0x5C ('\').
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// 0x95 0x5C is one character whose second byte is a backslash.
const std::string Kanji = "\x95\x5C";

}  // namespace

TEST(ExtractField, SplitsAtRunsOfDelimiters) {
  const struct {
    int n;
    const char* s;
    const char* delimiters;
    const char* field;
  } cases[] = {
      {1, "ABC=DM-Foo.ut2", "=", "ABC"},         {2, "ABC=DM-Foo.ut2", "=", "DM-Foo.ut2"},
      {1, "[Cache]", "=", "[Cache]"},            {2, "[Cache]", "=", ""},
      {1, "=DM-Foo.ut2", "=", "DM-Foo.ut2"},     {2, "=DM-Foo.ut2", "=", ""},
      {1, "A==B", "=", "A"},                     {2, "A==B", "=", "B"},
      {1, "A=B=C", "=", "A"},                    {2, "A=B=C", "=", "B"},
      {3, "A=B=C", "=", "C"},                    {4, "A=B=C", "=", ""},
      {2, "=A=B", "=", "B"},                     {2, "A=B=", "=", "B"},
      {1, "~ABC=DM-Foo.ut2", "=", "~ABC"},       {2, "~ABC=DM-Foo.ut2", "=", "DM-Foo.ut2"},
      {1, "MyMutator.u", ".", "MyMutator"},      {1, ".u", ".", "u"},
      {0, "A=B", "=", ""},                       {-1, "A=B", "=", ""},
      {1, "", "=", ""},                          {1, "A=B", "", "A=B"},
      {2, "A=B", "", ""},                        {2, "a;b,c", ",;", "b"},
      {3, "a;b,c", ",;", "c"},                   {1, "===", "=", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractField(c.n, c.s, c.delimiters), c.field) << c.n << " of \"" << c.s << "\" at \"" << c.delimiters << '"';
}

TEST(AddTrailingBackslash, NormalisesOnlyLongPathsAndDrives) {
  const struct {
    const char* path;
    const char* result;
  } cases[] = {
      {"", ""},       {"C:", "C:\\"},   {"C", "C"},   {"ab", "ab"},  {"\\", "\\"},
      {"a\\", "a\\"}, {"C:\\", "C:\\"}, {"C:\\Games", "C:\\Games\\"}, {"C:\\Games\\", "C:\\Games\\"},
      {"abc", "abc\\"}, {"C:/Games/", "C:/Games/\\"}, {"::", "::\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddTrailingBackslash(c.path), c.result) << '"' << c.path << '"';
}

TEST(PathFunctions, SplitAtTheLastSeparator) {
  const struct {
    std::string path;
    std::string ext, name, folder;
  } cases[] = {
      {"DM-Foo.ut2", ".ut2", "DM-Foo.ut2", ""},
      {"a.b.u", ".u", "a.b.u", ""},
      {"Maps\\DM-Foo", "", "DM-Foo", "Maps\\"},
      {"My.Maps\\DM-Foo", "", "DM-Foo", "My.Maps\\"},
      {"name.", ".", "name.", ""},
      {"C:\\Games\\UT2004\\Cache\\cache.ini", ".ini", "cache.ini", "C:\\Games\\UT2004\\Cache\\"},
      {"C:cache.ini", ".ini", "cache.ini", "C:"},
      {"C:", "", "", "C:"},
      {"folder\\", "", "", "folder\\"},
      {"", "", "", ""},
      {"a/b.ut2", ".ut2", "a/b.ut2", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExtOf(c.path, NoLeadBytes), c.ext) << c.path;
    EXPECT_EQ(FileNameOf(c.path, NoLeadBytes), c.name) << c.path;
    EXPECT_EQ(FolderOf(c.path, NoLeadBytes), c.folder) << c.path;
  }
}

TEST(PathFunctions, NeverTakeATrailByteForABackslash) {
  const struct {
    std::string path;
    std::string ext, name, folder;
  } cases[] = {
      {"Maps\\" + Kanji + ".ut2", ".ut2", Kanji + ".ut2", "Maps\\"},
      {Kanji, "", Kanji, ""},
      {Kanji + Kanji + "\\x.u", ".u", "x.u", Kanji + Kanji + "\\"},
      {"C:\\" + Kanji + "\\" + Kanji, "", Kanji, "C:\\" + Kanji + "\\"},
      {"a" + Kanji + "b.utx", ".utx", "a" + Kanji + "b.utx", ""},
      // A '\' after an ASCII byte that merely looks like a trail byte still separates.
      {"ab\\\x5C" "c", "", "c", "ab\\\\"},
      // A lead byte at the very end has no trail byte: the byte before it is still seen.
      {"x\\\x95", "", "\x95", "x\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExtOf(c.path, ShiftJisLeadByte), c.ext);
    EXPECT_EQ(FileNameOf(c.path, ShiftJisLeadByte), c.name);
    EXPECT_EQ(FolderOf(c.path, ShiftJisLeadByte), c.folder);
  }
  // The same bytes read in a single-byte code page split at the second byte of the pair.
  EXPECT_EQ(FileNameOf("Maps\\" + Kanji + ".ut2", NoLeadBytes), ".ut2");
}

TEST(TrimBlanks, RemovesEveryByteUpToSpaceAtBothEnds) {
  const struct {
    std::string s, trimmed;
  } cases[] = {
      {"", ""},
      {" \t\r\n", ""},
      {std::string("\0\x01 x \x1F", 6), "x"},
      {"  a b  ", "a b"},
      {"\xA0x\xA0", "\xA0x\xA0"},  // bytes above 127 are not blanks
      {"~x", "~x"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.s), c.trimmed);
}

TEST(ComparisonRules, BeginsWithAndUpperCaseAreByteExact) {
  EXPECT_TRUE(BeginsWith("DM-Rankin.ut2", "DM-"));
  EXPECT_FALSE(BeginsWith("dm-rankin.ut2", "DM-"));
  EXPECT_FALSE(BeginsWith("xDM-", "DM-"));
  EXPECT_FALSE(BeginsWith("DM", "DM-"));
  EXPECT_TRUE(BeginsWith("DM", ""));
  EXPECT_EQ(UpperCaseAscii("abz-AZ09\xE9\xFF{`"), "ABZ-AZ09\xE9\xFF{`");
}
