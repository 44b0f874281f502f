// What ticked packages need, on a real cache of built packages and real game folders: Select
// Needed Packages, the details and the busy guard (the question: tests/ui/package_needs_form_test.cpp).
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
  // Ticks the named rows; returns the first of them.
  int OpenAndTick(const TNames& names) {
    commands.tbOpenCacheClick();
    for (TListingRow& row : view.Rows) row.Ticked = names.count(row.Caption) > 0;
    const auto found = std::find_if(view.Rows.begin(), view.Rows.end(), [](const TListingRow& row) { return row.Ticked; });
    return static_cast<int>(found - view.Rows.begin());
  }
};

TEST_F(PackageNeedsJob, SelectNeededTicksTheCachedPackagesNeededThatAreNeitherTickedNorInstalled) {
  const struct {
    TNames ticked, added;
    const char* status;
  } cases[] = {
      {{"DM-Pyramid.ut2"}, {"PyramidTex.utx", "PyramidCode.u", "PyramidSounds.uax"}, "Ticked 3 needed packages."},
      {{"ChainA.usx"}, {"ChainB.usx", "ChainC.usx"}, "Ticked 2 needed packages."},
      {{"LoopB.ukx"}, {"LoopA.ukx"}, "Ticked 1 needed package."},
      {{"DM-Old.ut2"}, {"OldTex.utx"}, "Ticked 1 needed package."},
      // Payloads that are missing or no packages are nothing the game can load; the installed one is not.
      {{"DM-Broken.ut2"}, {}, "Ticked 0 needed packages."},
      {{"PyramidTex.utx", "DM-Pyramid.ut2", "Noise.utx"}, {"PyramidCode.u", "PyramidSounds.uax"}, "Ticked 2 needed packages."},
      {{"Wrong.ut2", "PyramidSounds.uax", "Big.usx"}, {}, "Ticked 0 needed packages."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.ticked.begin());
    OpenAndTick(c.ticked);
    commands.SelectNeeded1Click();
    TNames expected = c.ticked, ticked;
    expected.insert(c.added.begin(), c.added.end());
    for (const TListingRow& row : view.Rows)
      if (row.Ticked) ticked.insert(row.Caption);
    EXPECT_EQ(ticked, expected);
    EXPECT_EQ(view.Status, c.status);
  }
}

TEST_F(PackageNeedsJob, DetailsSayWhatTheHeaderHoldsAndWhereEachNeededPackageIs) {
  const std::string key = GuidKeyText({1, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3}) + "-1";
  const std::pair<const char*, std::string> cases[] = {
      {"DM-Pyramid.ut2", "Package: DM-Pyramid.ut2\r\nCache key: " + key + "\r\nSize: " +
                             std::to_string(ReadFileBytes(game.Prefs.CachePath + key + ".uxx").size()) +
                             " bytes\r\nPackage version: 128 (licensee 0)\r\nGUID: " + key.substr(0, 32) +
                             ", matches the cache key\r\nGenerations: 1, the latest with 0 exports and 0 names\r\n"
                             "Needed packages:\r\n    PyramidTex: in the cache\r\n    PyramidCode: in the cache\r\n"
                             "    Engine: installed"},
      {"PyramidCode.u", "core: installed\r\n    Engine: installed\r\n    PyramidSounds: in the cache\r\n    XGameTextures: installed"},
      {"ChainC.usx", "ChainD: missing\r\n    Engin?: missing\r\n    Tab?bed: missing"},
      {"DM-Broken.ut2", "Cut: in the cache, not a package\r\n    Noise: in the cache, not a package\r\n    "
                        "Installed: installed\r\n    Gone: in the cache, payload missing"},
      {"Gone.utx", "Size: -1 bytes\r\nThis payload cannot be read as a package: Cannot open file"},
      {"OldTex.utx", "\r\nPackage version: 67 (licensee 0)\r\nGUID: none (packages of this version have none)\r\n"},
      {"Wrong.ut2", ", does not match the cache key: this payload is not the package the index names\r\n"},
      {"Noise.utx", "\r\nThis payload cannot be read as a package: The file is not a package of the game."},
      {"Cut.utx", "\r\nThis payload cannot be read as a package: The package ends inside its header or its tables."}};
  for (const auto& [name, part] : cases) {
    const std::string details = commands.Details1Click(OpenAndTick({name})).value_or("");
    EXPECT_NE(details.find(part), std::string::npos) << name << "\n" << details;
  }
}

TEST_F(PackageNeedsJob, ACheckReadsHeadersOnlyAndIsRefusedDuringARun) {
  TCacheIndex index;
  ASSERT_EQ(index.LoadCacheIndex(game.Index()), TIndexLoad::Loaded);
  TPackageCheck check(index, game.Prefs);
  EXPECT_TRUE(check.NeedsOf({"Big.usx"}).missing.empty());
  EXPECT_GT(check.BytesRead(), 0u);
  EXPECT_LT(check.BytesRead(), 16384u);  // of more than 1 MiB

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
