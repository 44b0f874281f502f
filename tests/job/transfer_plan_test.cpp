// Run plans on a real game folder under Wine: what Integrate selected and Install package files do
// where a target exists already, with the game's own names, twins and empty files. Each row is
// proven against the whole-folder snapshot: exactly the expected files changed, every other file
// kept its bytes, and the game's tool saw nothing.
#include <gtest/gtest.h>

#include <deque>

#include "core/package_builder.h"
#include "job/chosen_files.h"
#include "job/game_job_fixture.h"
#include "job/install_files_run.h"

namespace {

TPackageGuid GuidOf(uint32_t n) { return {n, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3}; }
std::string PackageOf(uint32_t n, size_t filler) {
  return TPackageBuilder{.guid = GuidOf(n), .fillerBytes = filler}.Build();
}
std::string KeptAt(const std::string& folder, const std::string& version, const std::string& name) {
  return folder + "Replaced\\" + version + "\\" + name;
}

struct TScriptedPicker : IPackageFilePicker {
  std::vector<std::string> Files;
  std::optional<std::vector<std::string>> PickPackageFiles(const std::string&, const std::string&) override {
    return Files;
  }
};

using TFiles = std::vector<std::pair<std::string, std::string>>;  // a path and its bytes

struct TPlanRow {
  const char* row;
  TFiles installed;              // below the game folder, before the command
  std::vector<TPackage> cached;  // ticked, for Integrate selected
  TFiles chosen;                 // for Install package files, from a folder outside the game's
  std::deque<TModalResult> answers;
  std::set<uint32_t> leaving;  // cached packages that leave the cache
  TFiles changed;              // below the game folder, after the command, beside what leaves the cache
  const char* note;            // what the end box adds; nullptr: no end box, the command cancelled
};

std::vector<TPlanRow> Rows() {
  const std::string one = PackageOf(1, 100), two = PackageOf(2, 100), oneLonger = PackageOf(1, 200);
  const std::string keptOne = KeptAt("Maps\\", GuidKeyText(GuidOf(1)), "DM-A.ut2");
  TFiles textures;
  for (int i = 0; i < 1001; ++i) {
    const std::string number = std::to_string(i);
    textures.push_back({std::string("Textures\\T").append(number).append(".utx"), std::string("t").append(number)});
  }
  TFiles archived = textures;
  for (auto& [path, bytes] : archived) path[8] = '/';
  return {
      {"installed in the same version", {{"Maps\\DM-A.ut2", one}}, {{1, "DM-A.ut2", 0, true, one}}, {}, {}, {1}, {}, ""},
      {"another GUID, Yes", {{"Maps\\DM-A.ut2", one}}, {{2, "DM-A.ut2", 0, true, two}}, {}, {TModalResult::Yes}, {2},
       {{keptOne, one}}, "kept in"},
      {"another GUID, No", {{"Maps\\DM-A.ut2", one}}, {{2, "DM-A.ut2", 0, true, two}}, {}, {TModalResult::No}, {}, {},
       "Passed over, the installed version being kept: DM-A.ut2"},
      {"another GUID, close box", {{"Maps\\DM-A.ut2", one}}, {{2, "DM-A.ut2", 0, true, two}}, {}, {TModalResult::None},
       {}, {}, nullptr},
      {"the same GUID, another size", {{"Maps\\DM-A.ut2", one}}, {{3, "DM-A.ut2", 0, true, oneLonger}}, {},
       {TModalResult::Yes}, {3}, {{keptOne, one}}, "kept in"},
      {"no package, the same bytes", {{"Music\\T.ogg", "ogg bytes"}}, {{4, "T.ogg", 0, true, "ogg bytes"}}, {}, {}, {4},
       {}, ""},
      {"no package, other bytes", {{"Music\\T.ogg", "ogg bytes"}}, {{4, "T.ogg", 0, true, "OGG BYTES"}}, {},
       {TModalResult::Yes}, {4}, {{KeptAt("Music\\", "NoGuid", "T.ogg"), "ogg bytes"}}, "kept in"},
      {"a stock name from the cache", {{"System\\Engine.u", "stock"}}, {{5, "Engine.u", 0, true, "a server's"}}, {},
       {}, {}, {}, "Passed over, being named like one of the game's own code packages: Engine.u"},
      {"case twins from the index", {}, {{6, "DM-X.ut2", 0, true, "upper"}, {7, "dm-x.ut2", 0, true, "lower"}}, {}, {},
       {6}, {}, "Passed over, another package of the same name but for its letter case going first: dm-x.ut2"},
      {"an empty payload over an installed map", {{"Maps\\DM-B.ut2", "installed"}}, {{8, "DM-B.ut2", 0, true, ""}}, {},
       {}, {}, {}, "Passed over as damaged, being empty: DM-B.ut2"},
      {"a stock name from an archive", {}, {}, {{"Mod.zip", ZipOf({{"System/Core.u", "x"}, {"Maps/DM-M.ut2", "m"}})}},
       {}, {}, {{"Maps\\DM-M.ut2", "m"}}, "game's own code packages: Core.u"},
      {"case twins from an archive", {}, {}, {{"Twins.zip", ZipOf({{"Maps/A.ut2", "first"}, {"Maps/a.ut2", "second"}})}},
       {}, {}, {{"Maps\\A.ut2", "first"}}, "letter case going first: a.ut2"},
      {"an empty .uz2 over an installed map", {{"Maps\\DM-G.ut2", "installed"}}, {}, {{"DM-G.ut2.uz2", ""}}, {}, {}, {},
       "Passed over as damaged, being empty: DM-G.ut2"},
      {"an archive of 1,001 packages of one kind", {}, {}, {{"Big.zip", ZipOf(archived)}}, {}, {}, textures,
       "1001 packages installed"},
  };
}

TEST(TransferPlan, TargetsThatExistNamesTheGameOwnsTwinsAndEmptyFiles) {
  for (const TPlanRow& row : Rows()) {
    SCOPED_TRACE(row.row);
    TJob job;
    job.game.Prefs.AutoRegMutators = true;
    for (const auto& [path, bytes] : row.installed) WriteFileBytes(job.game.Root + path, bytes);
    job.Open(row.cached);
    job.view.Answers = row.answers;
    TScriptedPicker picker;
    for (const auto& [name, bytes] : row.chosen) {
      picker.Files.push_back(job.game.Temp.Sub("Downloads\\", true) + name);
      WriteFileBytes(picker.Files.back(), bytes);
    }
    EXPECT_EQ(row.chosen.empty() ? job.Integrate() : ErrorOf([&] { job.commands.InstallFiles1Click(picker); }), "");

    TTree expected = job.Expected(row.leaving, !row.leaving.empty());
    for (const auto& [path, bytes] : row.changed) expected[path] = bytes;
    EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
    EXPECT_TRUE(job.game.ToolCalls().empty());
    EXPECT_EQ(job.view.Boxes.size(), (row.answers.empty() ? 0u : 1u) + (row.note ? 1u : 0u)) << job.view.Boxes.back();
    if (!row.answers.empty()) {
      EXPECT_EQ(job.view.Boxes.front().rfind("confirm: Another version", 0), 0u);
    }
    if (row.note && row.chosen.empty()) {
      EXPECT_EQ(job.view.Boxes.back().rfind("info: " + std::string(JobTexts::RunSucceeded), 0), 0u);
    }
    if (row.note) {
      EXPECT_NE(job.view.Boxes.back().find(row.note), std::string::npos) << job.view.Boxes.back();
    }
  }
}

}  // namespace
