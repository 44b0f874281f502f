// Large and odd cache indexes: 100,000 entries, lines of 64 KiB, paths beyond the platform's 260
// characters, bytes of the ANSI code page above 127, and files without any entry. Built twice:
// the rules on lines and names as a pure test, and with PN_REAL_FILES the same inputs on real
// files under Wine.
#include <gtest/gtest.h>

#include <map>

#include "core/index_lines.h"
#include "core/listing_rows.h"
#include "core/package_kinds.h"
#include "core/text_rules.h"

#ifdef PN_REAL_FILES
#include "job/cache_index.h"
#include "job/folder_listing.h"
#include "job/integration_run.h"
#include "job/main_job_fixture.h"
#include "job/open_cache.h"
#include "win/files.h"
#endif

namespace {

using Lines = std::vector<std::string>;

constexpr int EntryCount = 100000;

// A key in the game's form: 32 upper-case hex digits and "-1" (every 7th "-2").
std::string KeyOf(int n) {
  char key[40];
  std::snprintf(key, sizeof key, "%08X%08X%08X%08X-%d", 0x3F2A9C0Du ^ n, 0x5B7E41C6u + n, 0xA8D2F0B9u * (n | 1),
                0xE1C4A7D3u - n, n % 7 == 0 ? 2 : 1);
  return key;
}

const char* const NamePatterns[] = {"DM-Map%d.ut2", "Mut%d.u",  "Tex%d.utx",  "Snd%d.uax",
                                    "Song%d.ogg",   "Mesh%d.usx", "Rag%d.ka", "Anim%d.ukx"};

// Every 1000th entry repeats the name of the entry 500 before it.
std::string NameOf(int n) {
  if (n % 1000 == 999) n -= 500;
  char name[40];
  std::snprintf(name, sizeof name, NamePatterns[n % std::size(NamePatterns)], n);
  return name;
}

// The header, then EntryCount entries with a comment and a blank line after every 10,000.
Lines BigIndex() {
  Lines lines{"[Cache]"};
  lines.reserve(EntryCount + 30);
  for (int n = 0; n < EntryCount; ++n) {
    lines.push_back(KeyOf(n) + "=" + NameOf(n));
    if (n % 10000 == 9999) {
      lines.push_back("; " + std::to_string(n + 1) + " downloads");
      lines.push_back("");
    }
  }
  return lines;
}

std::string Joined(const Lines& lines, const std::string& end) {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

}  // namespace

#ifndef PN_REAL_FILES

namespace {

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

TEST(HundredThousandEntries, AreFoundMarkedPurgedAndWrittenExactly) {
  Lines lines = BigIndex();
  ASSERT_EQ(ReadIndexLines(Joined(lines, "\n")), lines);

  // The first line of each name (line 0 and the blank lines give the empty one), counted
  // independently of the look-up.
  std::map<std::string, int> firstLine;
  for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) firstLine[ExtractField(2, lines[i], "=")] = i;
  TCacheEntryLookup lookup(lines);
  for (const auto& [name, line] : firstLine) ASSERT_EQ(lookup.Find(name), line) << name;
  for (int n = 0; n < EntryCount; n += 4999) EXPECT_EQ(lookup.Find(NameOf(n)), FindEntryLine(lines, NameOf(n))) << n;
  EXPECT_EQ(lookup.Find("DM-Map100000.ut2"), -1);

  // Every third entry is integrated; a repeated name is then still found at its first line.
  Lines kept, integrated;
  const Lines read = lines;
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool entry = i > 0 && lines[i].find('=') != std::string::npos;
    if (entry && i % 3 == 0) {
      integrated.push_back(lines[i]);
      MarkLine(lines, static_cast<int>(i));
      lookup.NoteMarked(lines, static_cast<int>(i));
    } else {
      kept.push_back(lines[i]);
    }
  }
  for (int n = 499; n < EntryCount; n += 9000) EXPECT_EQ(lookup.Find(NameOf(n)), FindEntryLine(lines, NameOf(n))) << n;
  lines.clear();
  for (const size_t line : KeptLines(read, integrated)) lines.push_back(read[line]);
  EXPECT_EQ(lines, kept);
  EXPECT_EQ(WriteIndexText(lines), Joined(kept, "\r\n"));
  TCacheEntryLookup afterPurge(lines);
  for (int n = 499; n < EntryCount; n += 9000) EXPECT_EQ(afterPurge.Find(NameOf(n)), FindEntryLine(lines, NameOf(n)));
}

TEST(SixtyFourKiBLines, SurviveEveryLineEndAndKeepTheirNames) {
  const std::string name = "DM-" + std::string(65536 - 7, 'x') + ".ut2";
  const std::string entry = KeyOf(1) + "=" + name;
  const std::string bare(65536, 'y');  // no "=" at all
  const Lines lines{"[Cache]", entry, bare, "", ";" + bare};
  for (const char* end : {"\r\n", "\n", "\r"}) {
    EXPECT_EQ(ReadIndexLines(Joined(lines, end)), lines) << testing::PrintToString(end);
  }
  EXPECT_EQ(WriteIndexText(lines), Joined(lines, "\r\n"));
  EXPECT_EQ(FindEntryLine(lines, name), 1);
  EXPECT_EQ(TCacheEntryLookup(lines).Find(name), 1);

  const std::vector<TListingRow> rows = BuildListingRows(
      lines, [](const std::string&) { return 70000; }, [](const std::string&) { return std::optional<int64_t>(); }, '.', NoLeadBytes);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Caption, name);
  EXPECT_EQ(rows[0].TypeText, "Deathmatch Map");
  EXPECT_EQ(rows[1].Caption, "");
  EXPECT_EQ(rows[1].TypeText, "*Unknown*");

  std::string deepPath;
  for (int level = 0; level < 4000; ++level) deepPath += "Folder" + std::to_string(level) + "\\";
  EXPECT_EQ(FileNameOf(deepPath + name, NoLeadBytes), name);
  EXPECT_EQ(FolderOf(deepPath + name, NoLeadBytes), deepPath);
  EXPECT_EQ(FileExtOf(deepPath + "Map", NoLeadBytes), "");
}

// Double-byte names: whether a '\' or '.' byte is a trail byte depends on every byte before it,
// however long the path.
TEST(DoubleBytePaths, TellTrailBytesFromSeparatorsAtAnyLength) {
  const std::string pair = "\x95\x5C";  // a character whose trail byte is '\'
  const struct {
    std::string path, name, folder;
  } cases[] = {
      {std::string(300, '\x95') + "\\x.u", "x.u", std::string(300, '\x95') + "\\"},  // 150 pairs, then '\'
      {std::string(301, '\x95') + "\\x.u", std::string(301, '\x95') + "\\x.u", ""},  // the '\' closes a pair
      {"C:\\Maps\\" + std::string(151, '\x81') + "\x95\\DM-Face.ut2", "DM-Face.ut2",
       "C:\\Maps\\" + std::string(151, '\x81') + "\x95\\"},
      {"C:\\Maps\\" + std::string(150, '\x81') + "\x95\\DM-Face.ut2", std::string(150, '\x81') + "\x95\\DM-Face.ut2",
       "C:\\Maps\\"},
      {"C:\\Maps\\" + Repeated(pair, 200) + ".ut2", Repeated(pair, 200) + ".ut2", "C:\\Maps\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.size());
    EXPECT_EQ(FileNameOf(c.path, ShiftJisLeadByte), c.name);
    EXPECT_EQ(FolderOf(c.path, ShiftJisLeadByte), c.folder);
    EXPECT_EQ(GetPackageKind(c.name, ShiftJisLeadByte), GetPackageKind(c.path, ShiftJisLeadByte));
  }
  EXPECT_EQ(TypeTextOf(pair + pair + ".ut2", ShiftJisLeadByte), "Map");
}

TEST(HighBytesOfTheCodePage, AreNamesLikeAnyOther) {
  const std::string cafe = "DM-Caf\xE9.ut2";  // as the code page spells it
  const Lines lines{"[Cache]", KeyOf(1) + "=" + cafe, KeyOf(2) + "=\xC9t\xE9.utx", KeyOf(3) + "=Caf\xE9\xA0.uax"};
  EXPECT_EQ(ReadIndexLines(Joined(lines, "\n")), lines);
  EXPECT_EQ(FindEntryLine(lines, cafe), 1);
  EXPECT_EQ(FindEntryLine(lines, "DM-Caf\xC3\xA9.ut2"), -1) << "another encoding of the same letter";
  EXPECT_EQ(FindEntryLine(lines, "DM-CAF\xC9.ut2"), -1) << "letter case counts";
  const std::vector<TListingRow> rows = BuildListingRows(
      lines, [](const std::string&) { return 5; }, [](const std::string&) { return std::optional<int64_t>(); }, ',', NoLeadBytes);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].TypeText, "Deathmatch Map");
  EXPECT_EQ(rows[1].TypeText, "Texture");
  EXPECT_EQ(rows[2].Caption, "Caf\xE9\xA0.uax") << "a no-break space is no blank";
  EXPECT_EQ(TrimBlanks("\xA0\xE9\xA0"), "\xA0\xE9\xA0");
}

TEST(IndexesWithoutEntries, GiveNoRows) {
  const struct {
    std::string bytes;
    size_t lineCount;
  } cases[] = {
      {"[Cache]", 1}, {"[Cache]\r\n", 1}, {"[Cache]\n\n", 2}, {"\r\n\n\r\r\n", 4}, {std::string(5000, '\n'), 5000},
      {std::string(5000, '\r'), 5000},
  };
  for (const auto& c : cases) {
    const Lines lines = ReadIndexLines(c.bytes);
    EXPECT_EQ(lines.size(), c.lineCount) << testing::PrintToString(c.bytes.substr(0, 12));
    EXPECT_TRUE(BuildListingRows(
                    lines, [](const std::string&) { return 0; }, [](const std::string&) { return std::optional<int64_t>(); }, '.',
                    NoLeadBytes)
                    .empty());
    EXPECT_EQ(ReadIndexLines(WriteIndexText(lines)), lines);
  }
}

#else  // PN_REAL_FILES

namespace {

// Files the narrow functions cannot reach, beyond the platform's 260 characters.
std::wstring LongPathOf(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }

void WriteLongPathFile(const std::string& path, const std::string& bytes) {
  TFileHandle file(::CreateFileW(LongPathOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ASSERT_TRUE(file && ::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
}

std::string ReadLongPathFile(const std::string& path) {
  TFileHandle file(::CreateFileW(LongPathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                 nullptr));
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  if (!file || !::ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return "(unreadable)";
  bytes.resize(got);
  return bytes;
}

// A game folder with the index open and its rows listed.
struct TOpenGame {
  TGameFolder game;
  TFakeMainView view;
  TCacheIndex index;
  TTransferContext context{view, view, view, view, index, [this]() -> const TAppliedPrefs& { return game.Prefs; },
                              [](const std::string&) {}, [] { return false; },
                              [](std::exception_ptr) { ADD_FAILURE() << "a second error"; }};

  void Open(const std::string& indexText) {
    WriteFileBytes(game.Index(), indexText);
    LoadCacheIndexOrWarn(index, game.Index(), view);
    FillCacheList(view, index, game.Prefs);
  }
  std::string IntegrateAll() {
    for (TListingRow& row : view.Rows) row.Ticked = true;
    view.Boxes.clear();
    return ErrorOf([this] { IntegrateSelected(context); });
  }
};

}  // namespace

TEST(HundredThousandLinesOnDisk, AreListedWithTheSizesOfTheFewPayloadsPresent) {
  TOpenGame open;
  TGameFolder& game = open.game;
  const Lines lines = BigIndex();
  const auto present = [](int n) { return n % 333 == 0; };
  const auto sizeOf = [](int n) { return n % 997 + 1; };
  for (int n = 0; n < EntryCount; n += 333) {
    WriteFileBytes(game.Prefs.CachePath + KeyOf(n) + ".uxx", PayloadBytes(sizeOf(n), n));
    // Installed in the same size (the unlit bulb), or another (the bulb of another version).
    if (n % 2 == 0)
      WriteFileBytes(GetDestinationFolder(GetPackageKind(NameOf(n)), game.Prefs) + NameOf(n),
                     n % 4 == 0 ? PayloadBytes(sizeOf(n), n) : "");
  }
  open.Open(Joined(lines, "\n"));
  ASSERT_EQ(open.index.CacheList(), lines);

  const std::vector<TListingRow>& rows = open.view.Rows;
  ASSERT_EQ(rows.size(), size_t(EntryCount));
  for (int n = 0; n < EntryCount; ++n) {
    const std::string size = present(n) ? std::to_string(sizeOf(n)) + " bytes" : "-1 bytes";
    ASSERT_EQ(rows[n].Caption, NameOf(n));
    ASSERT_EQ(rows[n].SizeText, size) << n;
    ASSERT_EQ(rows[n].ImageIndex, present(n) && n % 2 == 0 ? (n % 4 == 0 ? 1 : 3) : 0) << n;
  }
}

// A destination or payload path of 260 characters or more is no path the run will use: the row
// stays listed, and is passed over like a package of unknown kind. Nothing else is touched.
TEST(PathsBeyondTheLimit, AreTakenUpToTheLimitAndPassedOverBeyondIt) {
  const struct {
    const char* row;
    size_t destinationLength, payloadLength;  // 0: a short one
    bool integrated;
  } cases[] = {
      {"destination of 259 characters", 259, 0, true},   {"destination of 260 characters", 260, 0, false},
      {"destination of 300 characters", 300, 0, false},  {"file name of 64 KiB", 65536, 0, false},
      {"payload path of 259 characters", 0, 259, true},  {"payload path of 300 characters", 0, 300, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    TOpenGame open;
    TGameFolder& game = open.game;
    const std::string name = c.destinationLength == 0
                                 ? "DM-Short.ut2"
                                 : "DM-" + std::string(c.destinationLength - game.Prefs.MapPath.size() - 7, 'x') + ".ut2";
    const std::string key = c.payloadLength == 0 ? TGameFolder::Key(1)
                                                 : std::string(c.payloadLength - game.Prefs.CachePath.size() - 4, 'K');
    const std::string payload = game.Prefs.CachePath + key + ".uxx", bytes = PayloadBytes(40000, 1);
    WriteLongPathFile(payload, bytes);
    const std::string longLine = key + "=" + name;
    open.Open(TGameFolder::Joined({Header, game.Entry(2, "Rock.utx", "rock"), longLine, "; kept"}));
    ASSERT_EQ(open.view.Captions(), (Lines{"Rock.utx", name}));
    EXPECT_EQ(open.view.Rows[1].SizeText, c.payloadLength < 260 ? "39KB" : "-1 bytes");

    EXPECT_EQ(open.IntegrateAll(), "");
    EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "Rock.utx"), "rock");
    EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined(c.integrated ? Lines{Header, "; kept"}
                                                                             : Lines{Header, longLine, "; kept"}));
    EXPECT_EQ(EntriesIn(game.Prefs.MapPath), c.integrated ? 1 : 0);
    if (c.integrated) {
      EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + name), bytes);
    }
    EXPECT_EQ(ReadLongPathFile(payload), c.integrated ? "(unreadable)" : bytes);
    EXPECT_EQ(open.view.Captions(), c.integrated ? Lines{} : Lines{name});
  }
}

TEST(HighBytesOfTheCodePage, NameRealFiles) {
  ASSERT_EQ(::GetACP(), 1252u) << "the names below are bytes of code page 1252";
  TOpenGame open;
  TGameFolder& game = open.game;
  const std::string cafe = "DM-Caf\xE9.ut2", ete = "\xC9t\xE9.utx";
  WriteFileBytes(game.Prefs.TexturePath + ete, "installed");
  const std::string keptLine = game.Entry(2, ete, "texture");
  open.Open(TGameFolder::Joined({Header, game.Entry(1, cafe, "caf\xE9 map"), keptLine}));
  ASSERT_EQ(open.view.Rows.size(), 2u);
  EXPECT_EQ(open.view.Rows[0].TypeText, "Deathmatch Map");
  EXPECT_EQ(open.view.Rows[0].SizeText, "8 bytes");
  EXPECT_EQ(open.view.Rows[1].ImageIndex, 3) << "found installed, in another size, under its high-byte name";

  open.view.Rows[0].Ticked = true;
  EXPECT_EQ(ErrorOf([&] { IntegrateSelected(open.context); }), "");
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((game.Prefs.MapPath + "*.ut2").c_str(), &entry));
  ASSERT_TRUE(search);
  EXPECT_EQ(std::string(entry.cFileName), cafe) << "the same bytes come back from the file system";
  EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + cafe), "caf\xE9 map");
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined({Header, keptLine}));
}

TEST(IndexesWithoutEntries, OnDiskLoadAsTheirLinesSayAndIntegrateNothing) {
  const struct {
    std::string bytes;
    bool loaded;
  } cases[] = {{"[Cache]\n", false}, {"\r", false}, {"[Cache]\r\n\r\n", true}, {"\n\n\n", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    TOpenGame open;
    open.Open(c.bytes);
    EXPECT_EQ(open.index.Loaded(), c.loaded);
    EXPECT_EQ(open.view.Boxes, c.loaded ? Lines{} : Lines{"warning: The cache is empty."});
    EXPECT_TRUE(open.view.Rows.empty());
    EXPECT_EQ(open.IntegrateAll(), "");
    EXPECT_EQ(open.view.Boxes, Lines{"warning: You must select a file to grab from the cache!"});
    EXPECT_EQ(ReadFileBytes(open.game.Index()), c.bytes);
  }
}

#endif
