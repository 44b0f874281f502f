// The integration run on a real game folder under Wine.
#include <gtest/gtest.h>

#include "job/cache_index.h"
#include "job/integration_run.h"
#include "job/job_texts.h"
#include "job/main_job_fixture.h"
#include "job/open_cache.h"
#include "win/files.h"

namespace {

const std::string Succeeded = std::string("info: ") + JobTexts::RunSucceeded;

// The file operations of the run and of the index save, each noting what it did in one list.
TCopyIo RecordedCopyIo(std::vector<std::string>& events) {
  TCopyIo io = TCopyIo::Standard();
  io.Write = [&events, write = io.Write](HANDLE file, const void* data, DWORD size) {
    if (events.empty() || events.back() != "copy") events.push_back("copy");
    return write(file, data, size);
  };
  io.Flush = [&events, flush = io.Flush](HANDLE file) { return events.push_back("flush copy"), flush(file); };
  io.Delete = [&events, erase = io.Delete](const std::string& path) {
    return events.push_back("delete " + FileNameOf(path)), erase(path);
  };
  return io;
}

TIndexIo RecordedIndexIo(std::vector<std::string>& events) {
  TIndexIo io = TIndexIo::Standard();
  io.Write = [&events, write = io.Write](HANDLE file, std::string_view bytes) {
    return events.push_back("write index"), write(file, bytes);
  };
  io.Flush = [&events, flush = io.Flush](HANDLE file) { return events.push_back("flush index"), flush(file); };
  io.Replace = [&events, replace = io.Replace](const std::string& from, const std::string& to) {
    return events.push_back("replace index"), replace(from, to);
  };
  return io;
}

class IntegrationRun : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  std::vector<std::string> events, reported;
  TCacheIndex index{RecordedIndexIo(events)};
  std::vector<std::string> mutators;
  TTransferContext context{view,
                              view,
                              view,
                              view,
                              index,
                              [this]() -> const TAppliedPrefs& { return game.Prefs; },
                              [this](const std::string& name) { mutators.push_back(name); },
                              [] { return false; },
                              [this](std::exception_ptr error) { reported.push_back(ErrorOf([&] { std::rethrow_exception(error); })); },
                              RecordedCopyIo(events)};

  void Open(const std::vector<std::string>& lines, const std::string& end = "\r\n") { OpenBytes(TGameFolder::Joined(lines, end)); }
  void OpenBytes(const std::string& bytes) {
    WriteFileBytes(game.Index(), bytes);
    ASSERT_EQ(index.LoadCacheIndex(game.Index()), TIndexLoad::Loaded);
    FillCacheList(view, index, game.Prefs);
  }
  std::string Run() {
    view.Boxes.clear();
    view.Statuses.clear();
    view.Visibility.clear();
    return ErrorOf([this] { IntegrateSelected(context); });
  }
};

TEST_F(IntegrationRun, MovesEveryTickedPackageToItsFolderAndDropsOnlyItsLine) {
  const struct {
    const char* name;
    size_t size;
    std::string TAppliedPrefs::*folder;
  } packages[] = {
      {"DM-Rankin.ut2", 0, &TAppliedPrefs::MapPath},        {"My Mutator.u", 16384, &TAppliedPrefs::SystemPath},
      {"Rock.utx", 16385, &TAppliedPrefs::TexturePath},     {"Boom.uax", 1, &TAppliedPrefs::SoundPath},
      {"Theme.ogg", 2000000, &TAppliedPrefs::MusicPath},    {"Crate.usx", 2, &TAppliedPrefs::MeshPath},
      {"Ragdoll.ka", 3, &TAppliedPrefs::KarmaPath},         {"Walk.ukx", 4, &TAppliedPrefs::AnimationPath},
  };
  std::vector<std::string> lines{Header, "; comment", ""};
  for (uint32_t n = 0; n < 8; ++n) lines.push_back(game.Entry(n, packages[n].name, PayloadBytes(packages[n].size, n)));
  const std::vector<std::string> kept{game.Entry(20, "readme.txt", "?"), "  ", game.Entry(21, "CTF-Face.ut2", "map")};
  lines.insert(lines.end(), kept.begin(), kept.end());
  Open(lines, "\n");
  for (TListingRow& row : view.Rows) row.Ticked = row.Caption != "CTF-Face.ut2";

  // The empty payload is a failed download, no package: it stays in the cache.
  EXPECT_EQ(Run(), "");
  std::vector<int> ranges;
  for (uint32_t n = 1; n < 8; ++n) {
    EXPECT_EQ(ReadFileBytes(game.Prefs.*packages[n].folder + packages[n].name), PayloadBytes(packages[n].size, n));
    EXPECT_FALSE(FileExists(game.Payload(n)));
    ranges.push_back(int(packages[n].size) + 5);
  }
  EXPECT_FALSE(FileExists(game.Prefs.MapPath + "DM-Rankin.ut2"));
  EXPECT_TRUE(FileExists(game.Payload(0)) && FileExists(game.Payload(20)) && FileExists(game.Payload(21)));
  EXPECT_EQ(ReadFileBytes(game.Index()),
            TGameFolder::Joined({Header, "; comment", "", lines[3], kept[0], kept[1], kept[2]}));
  EXPECT_EQ(view.Captions(), (std::vector<std::string>{"DM-Rankin.ut2", "readme.txt", "CTF-Face.ut2"}));
  EXPECT_FALSE(view.Rows[0].Ticked);
  EXPECT_EQ(mutators, std::vector<std::string>{"My Mutator.u"});
  EXPECT_EQ(view.Ranges, ranges);
  EXPECT_EQ(view.Visibility, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.Boxes, std::vector<std::string>{Succeeded + "\r\n\r\nPassed over as damaged, being empty: DM-Rankin.ut2"});
  // Each payload is named as it is deleted, once the index no longer lists it.
  std::vector<std::string> statuses{"Copying My Mutator.u...", "", "Updating cache file..."};
  for (uint32_t n = 1; n < 8; ++n) statuses.push_back("Deleting " + TGameFolder::Key(n) + ".uxx...");
  statuses.push_back("Done!");
  view.Statuses.erase(view.Statuses.begin() + 1, view.Statuses.end() - 10);
  EXPECT_EQ(view.Statuses, statuses);
}

// The index as the game leaves it: changed while the run copies, a key two lines share, a line
// that stands twice, UTF-16LE. The lines the run did not handle stay byte for byte, and a payload
// goes only with the last line that names it.
TEST_F(IntegrationRun, KeepsTheLinesItDidNotHandleAndThePayloadsTheyName) {
  const std::string a = game.Entry(1, "DM-A.ut2", "a"), b = game.Entry(2, "B.utx", "b"), c = game.Entry(3, "C.utx", "c");
  const std::string added = game.Entry(4, "New.utx", "new"), shared = TGameFolder::Key(1) + "=Shared.utx";
  const auto utf16 = [](const std::vector<std::string>& lines) {
    std::string bytes = "\xFF\xFE";
    for (const char ch : TGameFolder::Joined(lines)) bytes += std::string{ch, '\0'};
    return bytes;
  };
  const struct {
    const char* row;
    std::string before, meanwhile, after;  // the file; meanwhile: as the game rewrites it during the copy
    std::vector<std::string> ticked;
    std::vector<uint32_t> payloadsGone;
  } cases[] = {
      {"a line added and one removed meanwhile", TGameFolder::Joined({Header, a, b, c}),
       TGameFolder::Joined({Header, a, c, added}, "\n"), TGameFolder::Joined({Header, c, added}), {"DM-A.ut2"}, {1}},
      {"a shared key and a repeated line", TGameFolder::Joined({Header, a, shared, c, c}), "",
       TGameFolder::Joined({Header, shared, c}), {"DM-A.ut2", "C.utx"}, {}},
      {"UTF-16LE", utf16({Header, a, b}), "", utf16({Header, b}), {"DM-A.ut2"}, {1}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.row);
    for (const auto& [n, bytes] : {std::pair{1u, "a"}, {2u, "b"}, {3u, "c"}, {4u, "new"}}) WriteFileBytes(game.Payload(n), bytes);
    OpenBytes(row.before);
    for (TListingRow& listed : view.Rows)
      listed.Ticked = std::count(row.ticked.begin(), row.ticked.end(), listed.Caption) > 0;
    view.OnPendingMessages = [&] {
      if (!row.meanwhile.empty()) WriteFileBytes(game.Index(), row.meanwhile);
    };
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileBytes(game.Index()), row.after);
    for (uint32_t n = 1; n <= 4; ++n)
      EXPECT_EQ(FileExists(game.Payload(n)), std::count(row.payloadsGone.begin(), row.payloadsGone.end(), n) == 0) << n;
    EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-A.ut2"), "a");
    RemoveTree(game.Prefs.MapPath);
    MakeFolders(game.Prefs.MapPath);
  }
}

TEST_F(IntegrationRun, WithoutATickOnlyWarns) {
  const std::vector<std::string> lines{Header, game.Entry(1, "DM-A.ut2", "a")};
  for (bool opened : {false, true}) {
    if (opened) Open(lines, "\n");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(view.Boxes, std::vector<std::string>{"warning: You must select a file to grab from the cache!"});
    EXPECT_EQ(view.Status, "");
    EXPECT_EQ(view.Visibility, (std::vector<bool>{true, false}));
  }
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined(lines, "\n"));
}

TEST_F(IntegrationRun, TwoRowsOfOneNameIntegrateTheUpperPayloadOnce) {
  for (bool bothTicked : {true, false}) {
    const std::string upper = game.Entry(1, "DM-Twin.ut2", "upper"), lower = game.Entry(2, "DM-Twin.ut2", "lower");
    Open({Header, upper, lower});
    view.Rows[0].Ticked = bothTicked;
    view.Rows[1].Ticked = true;
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-Twin.ut2"), "upper");
    EXPECT_EQ(ReadFileBytes(game.Payload(2)), "lower");
    EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined({Header, lower}));
    EXPECT_EQ(view.Boxes, std::vector<std::string>{Succeeded});
  }
}

// Before the error is shown, the rows integrated so far leave the index file; the failing row and
// those after it stay in the cache, the index and the list.
TEST_F(IntegrationRun, StoppedRunLeavesTheIndexTrue) {
  enum TFault { MissingPayload, MissingFolder, FullDisk };
  const struct {
    TFault fault;
    const char* error;
  } cases[] = {{MissingPayload, "Error opening file"},
               {MissingFolder, "Error creating output file"},
               {FullDisk, "Error writing output file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    TGameFolder fresh;
    game.Prefs = fresh.Prefs;
    const std::string failing = fresh.Entry(2, "DM-Two.ut2", "two"), last = fresh.Entry(3, "Three.utx", "three");
    WriteFileBytes(fresh.Index(), TGameFolder::Joined({Header, fresh.Entry(1, "One.utx", "one"), failing, last}));
    ASSERT_EQ(index.LoadCacheIndex(fresh.Index()), TIndexLoad::Loaded);
    FillCacheList(view, index, game.Prefs);
    for (TListingRow& row : view.Rows) row.Ticked = true;
    if (c.fault == MissingPayload) ::DeleteFileA(fresh.Payload(2).c_str());
    if (c.fault == MissingFolder) game.Prefs.MapPath = fresh.Root + "NoMaps\\";
    size_t writes = 0;
    context.Io = RecordedCopyIo(events);
    if (c.fault == FullDisk) context.Io.Write = [&writes, write = context.Io.Write](HANDLE f, const void* d, DWORD n) {
      return ++writes < 2 && write(f, d, n);
    };

    EXPECT_EQ(Run(), c.error);
    EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "One.utx"), "one");
    EXPECT_EQ(ReadFileBytes(fresh.Index()), TGameFolder::Joined({Header, failing, last}));
    EXPECT_FALSE(FileExists(game.Prefs.MapPath + "DM-Two.ut2"));
    EXPECT_EQ(FileExists(fresh.Payload(2)), c.fault != MissingPayload);
    EXPECT_TRUE(FileExists(fresh.Payload(3)));
    EXPECT_EQ(view.Captions(), (std::vector<std::string>{"DM-Two.ut2", "Three.utx"}));
    EXPECT_EQ(view.Visibility, (std::vector<bool>{true, false}));
  }
}

// Nothing is deleted before it is safe elsewhere: each copy is on the disk before the index leaves
// out its line, and the index's new text is on the disk before it takes the old one's place.
TEST_F(IntegrationRun, FlushesEachCopyAndTheIndexBeforeTheyReplaceAnything) {
  Open({Header, game.Entry(1, "DM-A.ut2", "a"), game.Entry(2, "B.utx", "b")});
  for (TListingRow& row : view.Rows) row.Ticked = true;
  EXPECT_EQ(Run(), "");
  const std::string payload1 = TGameFolder::Key(1) + ".uxx", payload2 = TGameFolder::Key(2) + ".uxx";
  EXPECT_EQ(events, (std::vector<std::string>{"copy", "flush copy", "copy", "flush copy", "write index", "flush index",
                                              "replace index", "delete " + payload1, "delete " + payload2}));
}

// When bringing the index up to date after a failed copy fails too, the user learns of both, the
// package's error first.
TEST_F(IntegrationRun, ASaveThatFailsAfterAStoppedRunIsShownAfterTheRunsError) {
  Open({Header, game.Entry(1, "DM-A.ut2", "a"), game.Entry(2, "B.utx", "b")});
  for (TListingRow& row : view.Rows) row.Ticked = true;
  ::DeleteFileA(game.Payload(2).c_str());
  ::SetFileAttributesA(game.Index().c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Run().rfind("Cannot create file", 0), 0u);
  ::SetFileAttributesA(game.Index().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(reported, std::vector<std::string>{"Error opening file"});
  EXPECT_TRUE(FileExists(game.Payload(1)));
  EXPECT_EQ(view.Captions(), (std::vector<std::string>{"DM-A.ut2", "B.utx"}));
}

TEST_F(IntegrationRun, RowsThatFindNoLineNeverOverwriteTheStoredIndex) {
  const std::vector<std::string> lines{Header, game.Entry(1, "DM-A.ut2", "a")};
  Open(lines);
  // A reread that fails empties the index while the rows stay on screen.
  ::MoveFileA(game.Index().c_str(), (game.Index() + ".away").c_str());
  EXPECT_NE(ErrorOf([this] { (void)index.LoadCacheIndex(game.Index()); }), "");
  ::MoveFileA((game.Index() + ".away").c_str(), game.Index().c_str());
  view.Rows[0].Ticked = true;
  EXPECT_EQ(Run(), "");
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined(lines));
  EXPECT_TRUE(FileExists(game.Payload(1)));
  EXPECT_EQ(view.Boxes, std::vector<std::string>{Succeeded});
}

}  // namespace
