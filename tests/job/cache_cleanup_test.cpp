// Clean Up Cache and Remove from Cache on real cache folders under Wine: each cache state against
// the whole-folder snapshot, exactly the expected files gone and every other file byte-identical.
#include <gtest/gtest.h>

#include "core/package_builder.h"
#include "job/cache_cleanup.h"
#include "job/game_job_fixture.h"

namespace {

using TFiles = std::vector<std::pair<std::string, std::string>>;  // below the game folder, and bytes

struct TScriptedCleanUp : ICleanUpDialog {
  TCleanUpChoice Choice{true, true, true, true};
  TCacheSurvey Seen;
  std::optional<TCleanUpChoice> ChooseCleanUp(const TCacheSurvey& survey) override {
    Seen = survey;
    return Choice;
  }
};

std::string Package(uint32_t n) { return TPackageBuilder{.guid = {n, 1, 2, 3}}.Build(); }
std::string Line(uint32_t n, const std::string& name) { return TGameFolder::Key(n) + "=" + name; }
std::string Payload(uint32_t n) { return "Cache\\" + TGameFolder::Key(n) + ".uxx"; }
std::string Utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char c : text) bytes += std::string{c, '\0'};
  return bytes;
}

struct TTidyRow {
  const char* row;
  std::vector<std::string> lines;  // after the header
  bool utf16;
  TFiles files;  // payloads, installed packages, anything else
  size_t orphans, missing, installed, unsafe;
  std::vector<std::string> gone;   // below the game folder
  std::vector<std::string> after;  // the index's lines after the header
};

TEST(CleanUpCache, RemovesExactlyWhatIsRedundant) {
  const std::string same = Package(1), other = Package(2);
  const TTidyRow rows[] = {
      {"orphans in odd letter case", {Line(1, "A.utx")}, false,
       {{Payload(1), "a"}, {"Cache\\" + CacheGuid(7) + "-1.UXX", "o"}, {"Cache\\orphan-2.Uxx", "o"}, {"Cache\\notes.txt", "n"}},
       2, 0, 0, 0, {"Cache\\" + CacheGuid(7) + "-1.UXX", "Cache\\orphan-2.Uxx"}, {Line(1, "A.utx")}},
      {"a missing payload and a payload named in another case", {Line(1, "A.utx"), Line(2, "B.utx")}, false,
       {{"Cache\\" + CacheGuid(1) + "-1.uXX", "a"}}, 0, 1, 0, 0, {}, {Line(1, "A.utx")}},
      {"a shared key, installed in the same version", {Line(1, "DM-S.ut2"), Line(1, "DM-T.ut2")}, false,
       {{Payload(1), same}, {"Maps\\DM-S.ut2", same}}, 0, 0, 1, 0, {}, {Line(1, "DM-T.ut2")}},
      {"installed in the same and another version", {Line(1, "DM-S.ut2"), Line(2, "DM-O.ut2")}, false,
       {{Payload(1), same}, {Payload(2), other}, {"Maps\\DM-S.ut2", same}, {"Maps\\DM-O.ut2", same}}, 0, 0, 1, 0,
       {Payload(1)}, {Line(2, "DM-O.ut2")}},
      {"an unsafe key", {"..\\Evil-1=Evil.utx", Line(3, "C.utx")}, false, {{Payload(3), "c"}}, 0, 0, 0, 1, {},
       {"..\\Evil-1=Evil.utx", Line(3, "C.utx")}},
      {"a UTF-16LE index", {Line(1, "A.utx"), Line(2, "B.utx")}, true, {{Payload(1), "a"}}, 0, 1, 0, 0, {}, {Line(1, "A.utx")}},
  };
  for (const TTidyRow& row : rows) {
    SCOPED_TRACE(row.row);
    TJob job;
    for (const auto& [path, bytes] : row.files) WriteFileBytes(job.game.Root + path, bytes);
    const std::string index = TGameFolder::Joined({Header}) + TGameFolder::Joined(row.lines);
    WriteFileBytes(job.game.Index(), row.utf16 ? Utf16(index) : index);
    job.commands.tbOpenCacheClick();
    job.before = job.Tree();
    TScriptedCleanUp dialog;
    job.commands.CleanUpCache1Click(dialog);

    const TCacheSurvey& seen = dialog.Seen;
    EXPECT_EQ(std::vector<size_t>({seen.orphans.size(), seen.missingPayloadLines.size(), seen.installedLines.size(), seen.unsafeNames}),
              std::vector<size_t>({row.orphans, row.missing, row.installed, row.unsafe}));
    TTree expected = job.before;
    for (const std::string& path : row.gone) expected.erase(path);
    const std::string after = TGameFolder::Joined({Header}) + TGameFolder::Joined(row.after);
    expected["Cache\\cache.ini"] = row.utf16 ? Utf16(after) : after;
    EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
  }
}

// The game's settings: only PurgeCacheDays changes; without the game it is unknown and untouched.
TEST(CleanUpCache, KeepsCachedPackagesForEverInTheFoundGamesSettings) {
  for (const bool found : {true, false}) {
    TJob job;
    const std::string ini = "[Engine.Engine]\r\nRenderDevice=D3D\r\n[Core.System]\r\nPurgeCacheDays=30\r\nCachePath=../Cache";
    WriteFileBytes(job.game.Prefs.SystemPath + "UT2004.ini", ini);
    job.commands.GameSearch = {{}, {}, {found ? job.game.Root : job.game.Temp.Sub("Elsewhere\\")}};
    job.Open({{1, "A.utx", 10, false}});
    TScriptedCleanUp dialog;
    job.commands.CleanUpCache1Click(dialog);
    EXPECT_EQ(dialog.Seen.purge.known, found);
    EXPECT_EQ(dialog.Seen.purge.days, found ? std::optional<int>(30) : std::nullopt);
    EXPECT_EQ(ReadFileBytes(job.game.Prefs.SystemPath + "UT2004.ini"),
              found ? "[Engine.Engine]\r\nRenderDevice=D3D\r\n[Core.System]\r\nPurgeCacheDays=0\r\nCachePath=../Cache" : ini);
  }
}

// The ticked rows (or the selected one) after one confirmation; No changes nothing.
TEST(RemoveFromCache, DropsTheLinesThenThePayloadsNoLineNames) {
  TJob job;
  const std::string shared = TGameFolder::Key(1) + "=Shared.utx";
  job.Open({{1, "DM-A.ut2", 2048, true}, {2, "B.utx", 100, true}, {3, "C.utx", 100, false}});
  WriteFileBytes(job.game.Index(), TGameFolder::Joined({Header, job.indexLines[2], job.indexLines[3], job.indexLines[4], shared}));
  job.commands.tbOpenCacheClick();
  for (const int row : {0, 1}) job.view.SetRowTicked(row, true);
  job.before = job.Tree();
  job.view.Answers = {TModalResult::No, TModalResult::Yes};

  job.commands.RemoveFromCache1Click(2);
  EXPECT_EQ(Differences(job.before, job.Tree()), std::vector<std::string>{});
  job.commands.RemoveFromCache1Click(2);
  ASSERT_EQ(job.view.Boxes.size(), 2u);
  EXPECT_EQ(job.view.Boxes[1].rfind("confirm: Remove 2 packages (2.1 KB) from the cache?\r\n\r\nDM-A.ut2\r\nB.utx", 0), 0u);
  TTree expected = job.before;
  expected.erase(job.Relative(job.game.Payload(2)));  // the key of DM-A.ut2 is still named
  expected["Cache\\cache.ini"] = TGameFolder::Joined({Header, job.indexLines[4], shared});
  EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
  EXPECT_EQ(job.view.Status, "Removed 2 packages (100 bytes) from the cache.");
  EXPECT_EQ(job.view.Captions(), (std::vector<std::string>{"C.utx", "Shared.utx"}));
}

}  // namespace
