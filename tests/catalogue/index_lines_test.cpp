#include <gtest/gtest.h>

#include <random>

#include "catalogue/index_lines.h"
#include "catalogue/text_rules.h"
#include "framework/exceptions.h"

using Lines = std::vector<std::string>;

TEST(ReadIndexLines, TakesEachLineEndAsTheGameWritesIt) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"[Cache]", {"[Cache]"}},
      {"[Cache]\r\n", {"[Cache]"}},
      {"[Cache]\r\nA-1=a.ut2\r\n", {"[Cache]", "A-1=a.ut2"}},
      {"[Cache]\nA-1=a.ut2\n", {"[Cache]", "A-1=a.ut2"}},
      {"[Cache]\rA-1=a.ut2\r", {"[Cache]", "A-1=a.ut2"}},
      {"[Cache]\r\nA-1=a.ut2", {"[Cache]", "A-1=a.ut2"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\n", {"a", ""}},
      {"\r\n", {""}},
      {"\n\r", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {" x \t\r\n;c\r\n", {" x \t", ";c"}},
      {std::string("[Cache]\r\nA=a\0B=b\r\n", 19), {"[Cache]", "A=a"}},
      {std::string("\0[Cache]", 8), {}},
      {std::string("a\r\0\nb", 5), {"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadIndexLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

TEST(WriteIndexText, EndsEveryLineWithCrLf) {
  EXPECT_EQ(WriteIndexText({}), "");
  EXPECT_EQ(WriteIndexText({""}), "\r\n");
  EXPECT_EQ(WriteIndexText({"[Cache]", "", ";c", "A-1=a.ut2"}), "[Cache]\r\n\r\n;c\r\nA-1=a.ut2\r\n");
  // Bare line ends read in are written back normalised, with a final line end added.
  EXPECT_EQ(WriteIndexText(ReadIndexLines("[Cache]\nA=a\rB=b")), "[Cache]\r\nA=a\r\nB=b\r\n");
}

TEST(FindEntryLine, MatchesTheSecondFieldExactlyFromTheTop) {
  const Lines lines = {"[Cache]", "K1-1=DM-Rankin.ut2", "~K2-1=Marked.u", "K3-1=A=B", "K4-1=DM-Rankin.ut2",
                       ";K5-1=Comment.utx", "K6-1="};
  const struct {
    const char* name;
    int line;
  } cases[] = {
      {"DM-Rankin.ut2", 1},  // the first of two entries of that name
      {"Marked.u", 2},       {"A", 3},          {"A=B", -1},    {"dm-rankin.ut2", -1}, {"Comment.utx", 5},
      {"", 0},               // the header has no second field, nor has line 6
      {"K1-1", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FindEntryLine(lines, c.name), c.line) << c.name;
  EXPECT_EQ(FindEntryLine({}, ""), -1);
}

TEST(MarkAndPurge, RemoveExactlyTheMarkedLines) {
  Lines lines = {"[Cache]", "K1-1=a.ut2", "K2-1=b.ut2", "K3-1=c.ut2", "K4-1=d.ut2", "K5-1=e.ut2", "K6-1=f.ut2"};
  MarkLine(lines, 3);
  MarkLine(lines, 5);
  EXPECT_EQ(lines[3], "~K3-1=c.ut2");
  EXPECT_EQ(FindEntryLine(lines, "c.ut2"), 3) << "a marked line is still found";
  MarkLine(lines, 5);
  EXPECT_EQ(lines[5], "~~K5-1=e.ut2");
  EXPECT_EQ(lines.size(), 7u);
  PurgeMarkedLines(lines);
  EXPECT_EQ(lines, (Lines{"[Cache]", "K1-1=a.ut2", "K2-1=b.ut2", "K4-1=d.ut2", "K6-1=f.ut2"}));

  Lines odd = {"~[Cache]", " ~x", "", "~", "\t", "x~", "~=y", "; ~"};
  PurgeMarkedLines(odd);
  EXPECT_EQ(odd, (Lines{" ~x", "", "\t", "x~", "; ~"}));
}

TEST(MarkLine, RefusesIndexesOutsideTheLines) {
  Lines lines = {"[Cache]", "K1-1=a.ut2"};
  for (int index : {-1, 2, 1000}) {
    try {
      MarkLine(lines, index);
      ADD_FAILURE() << "no error for " << index;
    } catch (const EListError& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
  EXPECT_EQ(lines, (Lines{"[Cache]", "K1-1=a.ut2"}));
}

namespace {

// Lines made of few distinct pieces, so that names repeat and lines start with "=" or "~".
Lines RandomLines(std::mt19937& random) {
  static const char* const pieces[] = {"=", "~", "K", "a", "b", "==", " ", ";", ""};
  Lines lines(random() % 12);
  for (auto& line : lines)
    for (int n = random() % 5; n > 0; --n) line += pieces[random() % std::size(pieces)];
  return lines;
}

std::vector<std::string> NamesWorthAsking(const Lines& lines) {
  std::vector<std::string> names = {"", "a", "b", "K", "zz", "~", "a=b"};
  for (const auto& line : lines) {
    names.push_back(ExtractField(1, line, "="));
    names.push_back(ExtractField(2, line, "="));
    names.push_back(ExtractField(3, line, "="));
  }
  return names;
}

}  // namespace

TEST(TCacheEntryLookup, AnswersAsTheFirstMatchSearchWhileLinesAreMarked) {
  std::mt19937 random(20041);
  for (int round = 0; round < 3000; ++round) {
    Lines lines = RandomLines(random);
    TCacheEntryLookup lookup(lines);
    for (int marks = lines.empty() ? 0 : random() % 6; marks >= 0; --marks) {
      for (const auto& name : NamesWorthAsking(lines))
        ASSERT_EQ(lookup.Find(name), FindEntryLine(lines, name)) << testing::PrintToString(lines) << " name " << name;
      if (lines.empty()) break;
      const int index = static_cast<int>(random() % lines.size());
      MarkLine(lines, index);
      lookup.NoteMarked(lines, index);
    }
  }
}

TEST(TCacheEntryLookup, FollowsALineWhoseNameChangesWhenMarked) {
  Lines lines = {"[Cache]", "=X=Y", "K-1=X", "K-2=Y"};
  TCacheEntryLookup lookup(lines);
  EXPECT_EQ(lookup.Find("Y"), 1);
  EXPECT_EQ(lookup.Find("X"), 2);
  MarkLine(lines, 1);  // "~=X=Y": its name is now X
  lookup.NoteMarked(lines, 1);
  EXPECT_EQ(lookup.Find("X"), 1);
  EXPECT_EQ(lookup.Find("Y"), 3);
  MarkLine(lines, 1);  // "~~=X=Y" keeps the name X
  lookup.NoteMarked(lines, 1);
  EXPECT_EQ(lookup.Find("X"), 1);
  EXPECT_EQ(lookup.Find(""), 0);
  EXPECT_THROW(lookup.NoteMarked(lines, 4), EListError);
}
