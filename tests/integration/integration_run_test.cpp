// The integration run on a real game folder under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "catalogue/cache_index.h"
#include "catalogue/open_cache.h"
#include "framework/exceptions.h"
#include "integration/fake_main_view.h"
#include "integration/game_folder.h"
#include "integration/integration_run.h"
#include "integration/integration_texts.h"

namespace {

using TBoxKind = TFakeMainView::TBoxKind;
const std::string Header = "[Cache]";

class IntegrationRun : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TCacheIndex index{view};
  std::vector<std::string> mutatorSteps;
  TIntegrationContext context{view, index, [this]() -> const TAppliedPrefs& { return game.Prefs; },
                              [this](const std::string& name) { mutatorSteps.push_back(name); },
                              [] { return false; }};

  void Open(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
    game.WriteIndex(lines, lineEnd);
    index.LoadCacheIndex(game.IndexPath());
    FillCacheList(view, index, game.Prefs);
    view.StatusHistory.clear();
    view.Boxes.clear();
  }
  std::string Run() {
    try {
      IntegrateSelected(context);
    } catch (const Exception& error) {
      return error.what();
    }
    return "";
  }
  std::string IndexText() const { return ReadFileBytes(game.IndexPath()); }
};

TEST_F(IntegrationRun, IntegratesEveryTickedPackageIntoItsFolderAndDropsOnlyTheirLines) {
  const struct {
    uint32_t n;
    const char* name;
    size_t size;
    std::string TAppliedPrefs::*folder;
  } packages[] = {
      {1, "DM-Rankin.ut2", 0, &TAppliedPrefs::MapPath},       {2, "MyMutator.u", 16383, &TAppliedPrefs::SystemPath},
      {3, "Rock.utx", 16384, &TAppliedPrefs::TexturePath},    {4, "Boom.uax", 16385, &TAppliedPrefs::SoundPath},
      {5, "Theme.ogg", 2 * 1024 * 1024 + 3, &TAppliedPrefs::MusicPath}, {6, "Crate.usx", 10, &TAppliedPrefs::MeshPath},
      {7, "Ragdoll.ka", 11, &TAppliedPrefs::KarmaPath},       {8, "Walk.ukx", 12, &TAppliedPrefs::AnimationPath},
  };
  std::vector<std::string> lines{Header, "; a comment", ""};
  for (const auto& p : packages) lines.push_back(game.Entry(p.n, p.name, PayloadBytes(p.size, p.n)));
  const std::string other = game.Entry(20, "readme.txt", "text");
  const std::string unticked = game.Entry(21, "CTF-Face.ut2", "map");
  lines.push_back(other);
  lines.push_back("   ");
  lines.push_back(unticked);
  Open(lines, "\n");
  for (const auto& p : packages) view.Tick(p.name);
  view.Tick("readme.txt");

  EXPECT_EQ(Run(), "");

  for (const auto& p : packages) {
    EXPECT_EQ(ReadFileBytes(game.Prefs.*p.folder + p.name), PayloadBytes(p.size, p.n)) << p.name;
    EXPECT_FALSE(FileExists(game.PayloadPath(TGameFolder::Key(p.n)))) << p.name;
  }
  EXPECT_TRUE(FileExists(game.PayloadPath(TGameFolder::Key(20))));
  EXPECT_TRUE(FileExists(game.PayloadPath(TGameFolder::Key(21))));
  EXPECT_EQ(IndexText(), TGameFolder::Joined({Header, "; a comment", "", other, "   ", unticked}));
  EXPECT_EQ(view.Captions(), (std::vector<std::string>{"readme.txt", "CTF-Face.ut2"}));
  EXPECT_FALSE(view.Rows[0].Ticked);
  EXPECT_EQ(mutatorSteps, std::vector<std::string>{"MyMutator.u"});
  EXPECT_EQ(view.ProgressVisibility, (std::vector<bool>{true, false}));
  std::vector<int> ranges;
  for (const auto& p : packages) ranges.push_back(static_cast<int>(p.size) + 5);
  EXPECT_EQ(view.ProgressRanges, ranges);
  ASSERT_EQ(view.Boxes.size(), 1u);
  EXPECT_EQ(view.Boxes[0].Kind, TBoxKind::Information);
  EXPECT_EQ(view.Boxes[0].Text, IntegrationTexts::RunSucceeded);
  ASSERT_GE(view.StatusHistory.size(), 5u);
  EXPECT_EQ(view.StatusHistory[0], "Copying DM-Rankin.ut2...");
  EXPECT_EQ(view.StatusHistory[1], "Deleting " + TGameFolder::Key(1) + ".uxx...");
  EXPECT_EQ(view.StatusHistory[2], "Copying MyMutator.u...");
  const std::vector<std::string> ending(view.StatusHistory.end() - 3, view.StatusHistory.end());
  EXPECT_EQ(ending, (std::vector<std::string>{"", "Updating cache file...", "Done!"}));
}

TEST_F(IntegrationRun, WithoutATickWarnsAndLeavesTheIndexFileUntouched) {
  const std::vector<std::string> lines{Header, game.Entry(1, "DM-Rankin.ut2", "map")};
  for (bool opened : {false, true}) {
    SCOPED_TRACE(opened ? "cache opened" : "nothing opened");
    if (opened) Open(lines, "\n");
    view.ProgressVisibility.clear();
    EXPECT_EQ(Run(), "");
    ASSERT_EQ(view.Boxes.size(), 1u);
    EXPECT_EQ(view.Boxes[0].Kind, TBoxKind::Warning);
    EXPECT_EQ(view.Boxes[0].Text, "You must select a file to grab from the cache!");
    EXPECT_EQ(view.Status, "");
    EXPECT_EQ(view.ProgressVisibility, (std::vector<bool>{true, false}));
    view.Boxes.clear();
  }
  EXPECT_EQ(IndexText(), TGameFolder::Joined(lines, "\n"));
  EXPECT_TRUE(FileExists(game.PayloadPath(TGameFolder::Key(1))));
}

TEST_F(IntegrationRun, TwoRowsOfOneNameIntegrateTheUpperPayloadOnce) {
  for (bool tickBoth : {true, false}) {
    SCOPED_TRACE(tickBoth ? "both rows ticked" : "lower row ticked");
    const std::string upper = game.Entry(1, "DM-Twin.ut2", "upper payload");
    const std::string lower = game.Entry(2, "DM-Twin.ut2", "lower payload");
    Open({Header, upper, lower});
    if (tickBoth) view.Rows[0].Ticked = true;
    view.Rows[1].Ticked = true;
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-Twin.ut2"), "upper payload");
    EXPECT_EQ(ReadFileBytes(game.PayloadPath(TGameFolder::Key(2))), "lower payload");
    EXPECT_EQ(IndexText(), TGameFolder::Joined({Header, lower}));
    EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Twin.ut2"});
    EXPECT_EQ(view.Boxes.back().Kind, TBoxKind::Information);
  }
}

// A run that stops at a failing row leaves the index true: the rows before it are integrated and
// gone from the index file; the failing row and those after it are in the cache, the index and
// the list.
TEST_F(IntegrationRun, StoppedRunStillDropsTheLinesOfWhatItIntegrated) {
  enum class TFault { MissingPayload, MissingFolder, FullDisk };
  const struct {
    const char* name;
    TFault fault;
    const char* error;
  } cases[] = {
      {"missing payload", TFault::MissingPayload, "Error opening file"},
      {"missing destination folder", TFault::MissingFolder, "Error creating output file"},
      {"full disk", TFault::FullDisk, "Error writing output file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TGameFolder fresh;
    game.Prefs = fresh.Prefs;
    const std::string first = fresh.Entry(1, "First.utx", PayloadBytes(40000, 1));
    const std::string failing = fresh.Entry(2, "DM-Second.ut2", PayloadBytes(40000, 2));
    const std::string last = fresh.Entry(3, "Third.utx", PayloadBytes(10, 3));
    fresh.WriteIndex({Header, first, failing, last});
    if (c.fault == TFault::MissingPayload) ::DeleteFileA(fresh.PayloadPath(TGameFolder::Key(2)).c_str());
    if (c.fault == TFault::MissingFolder) game.Prefs.MapPath = fresh.Root + "NoMaps\\";
    size_t written = 0;
    context.Io = TCopyIo::Standard();
    if (c.fault == TFault::FullDisk) {
      const TCopyIo standard = TCopyIo::Standard();
      context.Io.Write = [&written, standard](HANDLE file, const void* data, DWORD size) {
        written += size;
        return written <= 40000 + 16384 && standard.Write(file, data, size);
      };
    }
    index.LoadCacheIndex(fresh.IndexPath());
    FillCacheList(view, index, game.Prefs);
    for (TListingRow& row : view.Rows) row.Ticked = true;
    view.ProgressVisibility.clear();

    EXPECT_EQ(Run(), c.error);

    EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "First.utx"), PayloadBytes(40000, 1));
    EXPECT_EQ(ReadFileBytes(fresh.IndexPath()), TGameFolder::Joined({Header, failing, last}));
    EXPECT_FALSE(FileExists(game.Prefs.MapPath + "DM-Second.ut2"));
    if (c.fault != TFault::MissingPayload) {
      EXPECT_EQ(ReadFileBytes(fresh.PayloadPath(TGameFolder::Key(2))), PayloadBytes(40000, 2));
    }
    EXPECT_EQ(ReadFileBytes(fresh.PayloadPath(TGameFolder::Key(3))), PayloadBytes(10, 3));
    EXPECT_FALSE(FileExists(game.Prefs.TexturePath + "Third.utx"));
    EXPECT_EQ(view.Captions(), (std::vector<std::string>{"DM-Second.ut2", "Third.utx"}));
    EXPECT_EQ(view.ProgressVisibility, (std::vector<bool>{true, false}));
  }
}

TEST_F(IntegrationRun, IntegratingEverythingEndsWithAnEmptyCache) {
  Open({Header, game.Entry(1, "DM-A.ut2", "a"), game.Entry(2, "B.u", "b")});
  for (TListingRow& row : view.Rows) row.Ticked = true;
  EXPECT_EQ(Run(), "");
  EXPECT_EQ(IndexText(), TGameFolder::Joined({Header}));
  EXPECT_TRUE(view.Rows.empty());
  EXPECT_FALSE(index.Loaded());
  EXPECT_EQ(view.BoxTexts(), (std::vector<std::string>{"The cache is empty.", IntegrationTexts::RunSucceeded}));
  EXPECT_EQ(view.Status, "Done!");
}

TEST_F(IntegrationRun, RowsThatFindNoLineNeverOverwriteTheStoredIndex) {
  const std::vector<std::string> lines{Header, game.Entry(1, "DM-A.ut2", "a")};
  Open(lines);
  // A reread that fails leaves the index empty while the rows stay on screen.
  ::MoveFileA(game.IndexPath().c_str(), (game.IndexPath() + ".away").c_str());
  EXPECT_THROW(index.LoadCacheIndex(game.IndexPath()), Exception);
  ::MoveFileA((game.IndexPath() + ".away").c_str(), game.IndexPath().c_str());
  view.Rows[0].Ticked = true;
  view.Boxes.clear();

  EXPECT_EQ(Run(), "");
  EXPECT_EQ(IndexText(), TGameFolder::Joined(lines));
  EXPECT_TRUE(FileExists(game.PayloadPath(TGameFolder::Key(1))));
  EXPECT_EQ(view.BoxTexts(), std::vector<std::string>{IntegrationTexts::RunSucceeded});
}

TEST_F(IntegrationRun, UnknownKindsAreListedAgainAndTheirFilesLeftAlone) {
  const std::string upperCase = game.Entry(1, "DM-Rankin.UT2", "x");
  const std::string noExtension = game.Entry(2, "README", "y");
  Open({Header, upperCase, noExtension});
  for (TListingRow& row : view.Rows) row.Ticked = true;
  EXPECT_EQ(Run(), "");
  EXPECT_EQ(IndexText(), TGameFolder::Joined({Header, upperCase, noExtension}));
  EXPECT_EQ(view.Captions(), (std::vector<std::string>{"DM-Rankin.UT2", "README"}));
  EXPECT_TRUE(view.ProgressRanges.empty());
  EXPECT_EQ(view.BoxTexts(), std::vector<std::string>{IntegrationTexts::RunSucceeded});
}

}  // namespace
