#include <gtest/gtest.h>

#include <map>

#include "core/package_builder.h"
#include "core/package_needs.h"
#include "core/safe_names.h"

using Names = std::vector<std::string>;
using Needed = std::vector<TNeededPackage>;

namespace {

// A cache of built packages, read through the package reader, beside the installed ones.
class TFakeGame {
public:
  TNeedsReader ReaderOf(const std::string& name) {
    return [this, name] {
      ++reads_[name];
      TMemoryByteSource source(cached_.at(name).Build());
      const TPackageReading reading = ReadPackageHeader(source);
      return TNeedsReading{reading.header.neededPackages, PackageFaultText(reading.fault)};
    };
  }

  TPackageLocation Locate(const std::string& name) {
    EXPECT_TRUE(IsSafeFileName(name, "", NoLeadBytes)) << name;
    EXPECT_EQ(++lookups_[UpperCaseAscii(name)], 1) << name;
    for (const char* installed : {"Core", "Engine", "XGameTextures"})
      if (UpperCaseAscii(name) == UpperCaseAscii(installed)) return {TPackagePlace::Installed, {}};
    for (const auto& [cachedName, package] : cached_) {
      if (UpperCaseAscii(name) != UpperCaseAscii(cachedName)) continue;
      const TNeedsReading needs = ReaderOf(cachedName)();
      return {needs.failure.empty() ? TPackagePlace::Cached : TPackagePlace::CachedNotAPackage, needs.names};
    }
    return {};
  }

  const std::map<std::string, int>& Reads() const { return reads_; }

private:
  static TPackageBuilder Needing(const Names& names) { return {.imports = ImportsNeeding(names)}; }
  const std::map<std::string, TPackageBuilder> cached_ = {
      {"DM-Pyramid", Needing({"PyramidTex", "PyramidCode", "Engine"})},
      {"PyramidCode", Needing({"Core", "Engine", "PyramidSounds", "XGameTextures"})},
      {"PyramidTex", Needing({"Engine"})},
      {"PyramidSounds", Needing({})},
      {"ChainA", Needing({"ChainB"})},
      {"ChainB", Needing({"ChainC"})},
      {"ChainC", Needing({"ChainD"})},
      {"LoopA", Needing({"LoopB"})},
      {"LoopB", Needing({"LoopA", "pyramidtex"})},
      {"UsesDamaged", Needing({"Damaged", "PyramidSounds"})},
      {"Damaged", {.imports = ImportsNeeding({"Engine"}), .signature = 0}},
      {"Escaping", Needing({"..\\System\\Core", "CON", "Far:Away", "ChainD"})},
  };
  std::map<std::string, int> reads_, lookups_;
};

}  // namespace

TEST(ResolvePackageNeeds, FollowsCachedNeedsOnceEachAndReportsWhoNeedsThem) {
  const struct {
    Names roots;
    Needed cached, missing;
    Names unreadable;
  } cases[] = {
      {{"DM-Pyramid"},
       {{"PyramidTex", "DM-Pyramid"}, {"PyramidCode", "DM-Pyramid"}, {"PyramidSounds", "PyramidCode"}}, {}, {}},
      {{"ChainA"}, {{"ChainB", "ChainA"}, {"ChainC", "ChainB"}}, {{"ChainD", "ChainC"}}, {}},
      {{"LoopA"}, {{"LoopB", "LoopA"}, {"pyramidtex", "LoopB"}}, {}, {}},
      {{"LoopB", "LoopA"}, {{"pyramidtex", "LoopB"}}, {}, {}},
      {{"DM-Pyramid", "PyramidCode"}, {{"PyramidTex", "DM-Pyramid"}, {"PyramidSounds", "PyramidCode"}}, {}, {}},
      {{"UsesDamaged"}, {{"PyramidSounds", "UsesDamaged"}}, {{"Damaged", "UsesDamaged"}}, {}},
      {{"Damaged", "ChainC"}, {}, {{"ChainD", "ChainC"}}, {"Damaged"}},
      {{"Escaping"},
       {},
       {{"..\\System\\Core", "Escaping"}, {"CON", "Escaping"}, {"Far:Away", "Escaping"}, {"ChainD", "Escaping"}},
       {}},
      {{}, {}, {}, {}},
  };
  for (const auto& c : cases) {
    TFakeGame game;
    std::vector<TRootPackage> roots;
    for (const std::string& root : c.roots) roots.push_back({root, game.ReaderOf(root)});
    const TPackageNeeds needs = ResolvePackageNeeds(
        roots, [&game](const std::string& name) { return game.Locate(name); }, NoLeadBytes);
    const std::string what = testing::PrintToString(c.roots);
    EXPECT_EQ(needs.cached, c.cached) << what;
    EXPECT_EQ(needs.missing, c.missing) << what;
    Names unreadable;
    for (const TUnreadableNeeds& package : needs.unreadable) {
      unreadable.push_back(package.name);
      EXPECT_EQ(package.reason, PackageFaultText(TPackageFault::NotAPackage)) << what;
    }
    EXPECT_EQ(unreadable, c.unreadable) << what;
    for (const auto& [name, reads] : game.Reads()) EXPECT_EQ(reads, 1) << what << " " << name;
  }
}
