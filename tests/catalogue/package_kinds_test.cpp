#include <gtest/gtest.h>

#include <map>

#include "catalogue/listing_rows.h"
#include "catalogue/listing_row_printer.h"
#include "catalogue/package_kinds.h"

TEST(PackageKinds, ComeFromTheExactExtension) {
  const struct {
    const char* name;
    TPackageKind kind;
    const char* typeText;
  } cases[] = {
      {"DM-Rankin.ut2", pkMap, "Deathmatch Map"},
      {"CTF-Face.ut2", pkMap, "CTF Map"},
      {"dm-rankin.ut2", pkMap, "Map"},
      {"DM-Rankin.UT2", pkOther, "*Unknown*"},
      {"ONS-Torlan.ut2", pkMap, "Onslaught Map"},
      {"DOM-Core.ut2", pkMap, "Domination Map"},
      {"BR-Anubis.ut2", pkMap, "Bombing run Map"},
      {"AS-Convoy.ut2", pkMap, "Assault Map"},
      {"TUT-DM.ut2", pkMap, "Tutorial Map"},
      {"DOM-DM-x.ut2", pkMap, "Domination Map"},
      {"xDM-Rankin.ut2", pkMap, "Map"},
      {"DM-Tex.utx", pkTexture, "Texture"},
      {"MyMutator.u", pkMutator, "Mutator"},
      {"Mut.U", pkOther, "*Unknown*"},
      {"Song.ogg", pkMusic, "Music"},
      {"Song.OGG", pkOther, "*Unknown*"},
      {"Fx.uax", pkSound, "Sounds"},
      {"Meshes.usx", pkStaticMesh, "Statich mesh"},
      {"Ragdoll.ka", pkKarma, "Karma file"},
      {"Anims.ukx", pkAnimation, "Animation"},
      {"Readme", pkOther, "*Unknown*"},
      {"", pkOther, "*Unknown*"},
      {"Maps\\DM-Rankin.u", pkMutator, "Mutator"},
      {"DM-Rankin.ut2\\notes", pkOther, "*Unknown*"},
      {"file.u.bak", pkOther, "*Unknown*"},
      {".u", pkMutator, "Mutator"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetPackageKind(c.name, NoLeadBytes), c.kind) << c.name;
    EXPECT_EQ(TypeTextOf(c.name, NoLeadBytes), c.typeText) << c.name;
  }
}

TEST(PackageKinds, SendEachKindToItsOwnFolder) {
  TAppliedPrefs prefs;
  prefs.SystemPath = "S\\x";
  prefs.MapPath = "M\\x";
  prefs.TexturePath = "T\\x";
  prefs.SoundPath = "So\\x";
  prefs.MusicPath = "Mu\\x";
  prefs.MeshPath = "Me\\x";
  prefs.AnimationPath = "A\\x";
  prefs.KarmaPath = "K\\x";
  prefs.CachePath = "C\\x";
  const std::map<TPackageKind, std::string> expected = {
      {pkMap, "M\\x"},  {pkMutator, "S\\x"},     {pkTexture, "T\\x"}, {pkSound, "So\\x"},    {pkMusic, "Mu\\x"},
      {pkStaticMesh, "Me\\x"}, {pkKarma, "K\\x"}, {pkAnimation, "A\\x"}, {pkOther, ""},
  };
  for (const auto& [kind, folder] : expected) EXPECT_EQ(GetDestinationFolder(kind, prefs), folder) << KindNames[kind];
}

TEST(FormatSize, ChoosesTheBandByStrictComparison) {
  const struct {
    int32_t size;
    const char* point;
    const char* comma;
  } cases[] = {
      {0, "0 bytes", "0 bytes"},
      {1, "1 bytes", "1 bytes"},
      {1024, "1024 bytes", "1024 bytes"},
      {1025, "1KB", "1KB"},
      {2047, "1KB", "1KB"},
      {2048, "2KB", "2KB"},
      {1048576, "1024KB", "1024KB"},
      {1048577, "1.00MB", "1,00MB"},
      {2097152, "2.00MB", "2,00MB"},
      {1179648, "1.13MB", "1,13MB"},  // exactly 1.125: the half rounds up
      {1441792, "1.38MB", "1,38MB"},  // exactly 1.375
      {1567621, "1.49MB", "1,49MB"},  // just below 1.495
      {1567622, "1.50MB", "1,50MB"},  // just above 1.495
      {2147483647, "2048.00MB", "2048,00MB"},
      {-1, "-1 bytes", "-1 bytes"},
      {INT32_MIN, "-2147483648 bytes", "-2147483648 bytes"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSize(c.size, '.'), c.point) << c.size;
    EXPECT_EQ(FormatSize(c.size, ','), c.comma) << c.size;
  }
}

TEST(BuildListingRows, MakesOneRowPerEntryLineInFileOrder) {
  const std::vector<std::string> lines = {
      "[Cache]",      "K1-1=DM-Rankin.ut2", ";K2-1=Commented.utx", "", "K3-1=Mut.u", "   ",
      "  ;K4-1=x.ogg", "NoEqualsSign",      "K5-1=Fx.uax",         "~K6-1=Gone.ka",
  };
  const std::map<std::string, int32_t> sizes = {{"K1-1", 2097152}, {"K3-1", 5000}, {"  ;K4-1", 12}, {"~K6-1", 0}};
  std::vector<std::string> asked;
  const auto payloadSize = [&](const std::string& key) {
    asked.push_back(key);
    const auto found = sizes.find(key);
    return found == sizes.end() ? -1 : found->second;
  };
  const auto isInstalled = [](const std::string& name) { return name == "Mut.u"; };

  const std::vector<TListingRow> rows = BuildListingRows(lines, payloadSize, isInstalled, ',', NoLeadBytes);
  const std::vector<TListingRow> expected = {
      {"DM-Rankin.ut2", "2,00MB", "Deathmatch Map", 0, false},
      {"Mut.u", "4KB", "Mutator", 1, false},
      {"x.ogg", "12 bytes", "Music", 0, false},
      {"", "-1 bytes", "*Unknown*", 0, false},
      {"Fx.uax", "-1 bytes", "Sounds", 0, false},
      {"Gone.ka", "0 bytes", "Karma file", 0, false},
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(asked, (std::vector<std::string>{"K1-1", "K3-1", "  ;K4-1", "NoEqualsSign", "K5-1", "~K6-1"}));
}

TEST(BuildListingRows, GivesNoRowsForAHeaderAlone) {
  const auto never = [](const std::string&) -> int32_t {
    ADD_FAILURE() << "no payload to size";
    return -1;
  };
  const auto nothing = [](const std::string&) { return false; };
  EXPECT_TRUE(BuildListingRows({}, never, nothing, '.', NoLeadBytes).empty());
  EXPECT_TRUE(BuildListingRows({"K1-1=DM-Header.ut2"}, never, nothing, '.', NoLeadBytes).empty());
}
