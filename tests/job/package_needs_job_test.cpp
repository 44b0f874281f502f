// What ticked packages need, on a real cache of built packages and real game folders under Wine:
// "Select Needed Packages", the question before a run, the details text and the busy guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "job/job_controller.h"
#include "job/job_texts.h"
#include "job/package_cache_fixture.h"
#include "job/package_check.h"

namespace {

using TNames = std::set<std::string>;

class PackageNeedsJob : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  TJobController commands{view.Seams(), [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};

  void SetUp() override { WritePackageCache(game); }
  void OpenAndTick(const TNames& names) {
    commands.tbOpenCacheClick();
    for (TListingRow& row : view.Rows) row.Ticked = names.count(row.Caption) > 0;
  }
  TNames Ticked() const {
    TNames ticked;
    for (const TListingRow& row : view.Rows)
      if (row.Ticked) ticked.insert(row.Caption);
    return ticked;
  }
  std::string Details(const std::string& name) {
    commands.tbOpenCacheClick();
    for (int row = 0; row < view.RowCount(); ++row)
      if (view.Rows[row].Caption == name) return commands.Details1Click(row).value_or("(none)");
    return "(no row)";
  }
};

TEST_F(PackageNeedsJob, SelectNeededTicksTheCachedPackagesNeededThatAreNeitherTickedNorInstalled) {
  const struct {
    TNames ticked, added;
    std::string status;
  } cases[] = {
      {{"DM-Pyramid.ut2"}, {"PyramidTex.utx", "PyramidCode.u", "PyramidSounds.uax"}, "Ticked 3 needed packages."},
      {{"ChainA.usx"}, {"ChainB.usx", "ChainC.usx"}, "Ticked 2 needed packages."},
      {{"LoopB.ukx"}, {"LoopA.ukx"}, "Ticked 1 needed package."},
      {{"DM-Old.ut2"}, {"OldTex.utx"}, "Ticked 1 needed package."},
      // Damaged payloads are still the cached packages of their names; the installed one is not.
      {{"DM-Broken.ut2"}, {"Cut.utx", "Noise.utx"}, "Ticked 2 needed packages."},
      {{"PyramidTex.utx", "DM-Pyramid.ut2", "Noise.utx"}, {"PyramidCode.u", "PyramidSounds.uax"}, "Ticked 2 needed packages."},
      {{"Wrong.ut2", "PyramidSounds.uax", "Big.usx"}, {}, "Ticked 0 needed packages."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.ticked.begin());
    OpenAndTick(c.ticked);
    commands.SelectNeeded1Click();
    TNames expected = c.ticked;
    expected.insert(c.added.begin(), c.added.end());
    EXPECT_EQ(Ticked(), expected);
    EXPECT_EQ(view.Status, c.status);
  }
}

TEST_F(PackageNeedsJob, IntegrateAsksOnceAndTheAnswerDecidesWhatIsIntegrated) {
  const std::string pyramid[] = {game.Prefs.MapPath + "DM-Pyramid.ut2", game.Prefs.TexturePath + "PyramidTex.utx",
                                 game.Prefs.SystemPath + "PyramidCode.u", game.Prefs.SoundPath + "PyramidSounds.uax"};
  const struct {
    TModalResult answer;
    size_t integrated;  // of pyramid, in order
    const char* lastBox;
  } cases[] = {{TModalResult::Yes, 4, JobTexts::RunSucceeded},
               {TModalResult::No, 1, JobTexts::RunSucceeded},
               {TModalResult::None, 0, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    WritePackageCache(game);
    for (const std::string& file : pyramid) ::DeleteFileA(file.c_str());
    const std::string index = ReadFileBytes(game.Index());
    OpenAndTick({"DM-Pyramid.ut2"});
    view.Boxes.clear();
    view.Answers = {c.answer};
    EXPECT_EQ(ErrorOf([this] { commands.tbCopySelectedClick(); }), "");
    ASSERT_EQ(view.Boxes.size(), c.lastBox ? 2u : 1u);
    EXPECT_EQ(view.Boxes[0],
              "confirm: The ticked packages need these packages of the cache, which are neither ticked nor "
              "installed:\r\n\r\nPyramidTex.utx, needed by DM-Pyramid\r\nPyramidCode.u, needed by DM-Pyramid\r\n"
              "PyramidSounds.uax, needed by PyramidCode\r\n\r\nWithout them the game cannot load what needs them. "
              "Tick them too?");
    for (size_t i = 0; i < std::size(pyramid); ++i) EXPECT_EQ(FileExists(pyramid[i]), i < c.integrated) << pyramid[i];
    if (!c.lastBox) EXPECT_EQ(ReadFileBytes(game.Index()), index);
  }
}

TEST_F(PackageNeedsJob, TheQuestionListsTwentyPackagesAndCountsTheRest) {
  OpenAndTick({"DM-Many.ut2", "Noise.utx"});
  view.Answers = {TModalResult::None};
  commands.tbCopySelectedClick();
  ASSERT_EQ(view.Boxes.size(), 1u);
  const std::string& box = view.Boxes[0];
  EXPECT_NE(box.find("Many19.utx, needed by DM-Many\r\nand 5 more\r\n"), std::string::npos) << box;
  EXPECT_EQ(box.find("Many20"), std::string::npos);
}

TEST_F(PackageNeedsJob, DetailsSayWhatTheHeaderHoldsAndWhereEachNeededPackageIs) {
  const std::string pyramidKey = GuidKeyText({1, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3}) + "-1";
  EXPECT_EQ(Details("DM-Pyramid.ut2"),
            "Package: DM-Pyramid.ut2\r\nCache key: " + pyramidKey + "\r\nSize: " +
                std::to_string(ReadFileBytes(game.Prefs.CachePath + pyramidKey + ".uxx").size()) +
                " bytes\r\nPackage version: 128 (licensee 0)\r\nGUID: " + pyramidKey.substr(0, 32) +
                ", matches the cache key\r\nGenerations: 1, the latest with 0 exports and 0 names\r\nNeeded "
                "packages:\r\n    PyramidTex: in the cache\r\n    PyramidCode: in the cache\r\n    Engine: installed");
  const std::pair<const char*, const char*> cases[] = {
      {"PyramidCode.u", "core: installed\r\n    Engine: installed\r\n    PyramidSounds: in the cache\r\n    XGameTextures: installed"},
      {"ChainC.usx", "ChainD: missing"},
      {"PyramidSounds.uax", "\r\nNeeded packages: none"},
      {"OldTex.utx", "\r\nPackage version: 67 (licensee 0)\r\nGUID: none (packages of this version have none)\r\n"},
      {"Wrong.ut2", ", does not match the cache key: this payload is not the package the index names\r\n"},
      {"Noise.utx", "\r\nThis payload cannot be read as a package: The file is not a package of the game."},
      {"Cut.utx", "\r\nThis payload cannot be read as a package: The package ends inside its header or its tables."},
  };
  for (const auto& [name, part] : cases) EXPECT_NE(Details(name).find(part), std::string::npos) << name << "\n" << Details(name);
}

TEST_F(PackageNeedsJob, AChecksReadsHeadersOnlyAndIsRefusedDuringARun) {
  TCacheIndex index;
  ASSERT_EQ(index.LoadCacheIndex(game.Index()), TIndexLoad::Loaded);
  TPackageCheck check(index, game.Prefs);
  EXPECT_EQ(check.NeedsOf({"Big.usx"}).missing.size(), 0u);
  EXPECT_GT(check.BytesRead(), 0u);
  EXPECT_LT(check.BytesRead(), 16384u);

  OpenAndTick({"PyramidSounds.uax"});
  std::optional<std::string> details = "";
  view.OnPendingMessages = [&] {
    commands.SelectNeeded1Click();
    details = commands.Details1Click(0);
  };
  EXPECT_EQ(ErrorOf([this] { commands.tbCopySelectedClick(); }), "");
  EXPECT_EQ(details, std::nullopt);
  EXPECT_GE(std::count(view.Statuses.begin(), view.Statuses.end(), JobTexts::BusyRefusal), 2);
}

}  // namespace
