#include <gtest/gtest.h>

#include <random>

#include "core/exceptions.h"
#include "core/index_lines.h"
#include "core/text_rules.h"

using Lines = std::vector<std::string>;

TEST(IndexText, IsReadAtEveryLineEndAndWrittenWithCrLf) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"[Cache]", {"[Cache]"}},
      {"[Cache]\r\nA-1=a.ut2\r\n", {"[Cache]", "A-1=a.ut2"}},
      {"[Cache]\nA-1=a.ut2\n", {"[Cache]", "A-1=a.ut2"}},
      {"[Cache]\rA-1=a.ut2", {"[Cache]", "A-1=a.ut2"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb\n\n", {"a", "", "b", ""}},
      {" x \t\r\n", {" x \t"}},
      {std::string("[Cache]\r\nA=a\0B=b\r\n", 19), {"[Cache]", "A=a"}},
      {std::string("\0[Cache]", 8), {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadIndexLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
    std::string written;
    for (const auto& line : c.lines) written += line + "\r\n";
    EXPECT_EQ(WriteIndexText(c.lines), written);
  }
}

TEST(FindEntryLine, MatchesTheSecondFieldExactlyFromTheTop) {
  const Lines lines = {"[Cache]", "K1-1=DM-Rankin.ut2", "~K2-1=Marked.u", "K3-1=A=B", "K4-1=DM-Rankin.ut2", "K6-1="};
  const std::pair<const char*, int> cases[] = {
      {"DM-Rankin.ut2", 1}, {"Marked.u", 2}, {"A", 3}, {"A=B", -1}, {"dm-rankin.ut2", -1}, {"", 0}, {"K1-1", -1},
  };
  for (const auto& [name, line] : cases) EXPECT_EQ(FindEntryLine(lines, name), line) << name;
}

TEST(MarkLine, PutsAMarkInFrontOfTheLine) {
  Lines lines = {"[Cache]", "K1-1=a.ut2", "K2-1=b.ut2"};
  MarkLine(lines, 2);
  MarkLine(lines, 2);
  EXPECT_EQ(lines, (Lines{"[Cache]", "K1-1=a.ut2", "~~K2-1=b.ut2"}));
  EXPECT_THROW(MarkLine(lines, 3), EListError);
}

TEST(KeptLines, DropTheFirstLineEqualToEachDroppedOne) {
  const Lines lines = {"[Cache]", "K1-1=a.ut2", "K2-1=b.ut2", "K1-1=a.ut2", "~K3-1=c.ut2", "", "K1-1=a.ut2"};
  const struct {
    Lines dropped;
    std::vector<size_t> kept;
  } cases[] = {
      {{}, {0, 1, 2, 3, 4, 5, 6}},
      {{"K1-1=a.ut2"}, {0, 2, 3, 4, 5, 6}},
      {{"K1-1=a.ut2", "K1-1=a.ut2"}, {0, 2, 4, 5, 6}},
      {{"K3-1=c.ut2", "k2-1=b.ut2", "K9-1=z.ut2"}, {0, 1, 2, 3, 4, 5, 6}},  // none equal
      {{"~K3-1=c.ut2", "", "K2-1=b.ut2"}, {0, 1, 3, 6}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeptLines(lines, c.dropped), c.kept) << testing::PrintToString(c.dropped);
}

TEST(KeysNamedByNone, KeepsEveryKeyAnotherLineStillNames) {
  const Lines lines = {"[Cache]", "AB-1=x.ut2", "cd-1=y.ut2", ";EF-1=z.ut2"};
  EXPECT_EQ(KeysNamedByNone({"AB-1", "CD-1", "EF-1", "GH-1", "gh-1", "IJ-2"}, lines), (Lines{"EF-1", "GH-1", "IJ-2"}));
}

// Lines of few distinct pieces, so that names repeat and marks can change a line's second field
// ("=X" marked is "~=X").
TEST(TCacheEntryLookup, AnswersAsTheFirstMatchSearchWhileLinesAreMarked) {
  static const char* const pieces[] = {"=", "~", "K", "a", "b", "==", " ", ""};
  std::mt19937 random(20041);
  for (int round = 0; round < 3000; ++round) {
    Lines lines(random() % 12);
    for (auto& line : lines)
      for (int n = random() % 5; n > 0; --n) line += pieces[random() % std::size(pieces)];
    TCacheEntryLookup lookup(lines);
    for (int marks = random() % 6; marks >= 0 && !lines.empty(); --marks) {
      const int index = static_cast<int>(random() % lines.size());
      MarkLine(lines, index);
      lookup.NoteMarked(lines, index);
      for (const auto& line : lines)
        for (int n = 1; n <= 3; ++n) {
          const std::string name = ExtractField(n, line, "=");
          ASSERT_EQ(lookup.Find(name), FindEntryLine(lines, name)) << testing::PrintToString(lines) << " " << name;
        }
      ASSERT_EQ(lookup.Find("zz"), -1);
    }
  }
}
