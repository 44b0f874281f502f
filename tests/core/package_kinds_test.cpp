#include <gtest/gtest.h>

#include "core/listing_row_printer.h"
#include "core/listing_rows.h"
#include "core/package_kinds.h"

TEST(PackageKinds, ComeFromTheExactExtensionAndMapsFromTheirPrefix) {
  const struct {
    const char* name;
    TPackageKind kind;
    const char* typeText;
  } cases[] = {
      {"DM-Rankin.ut2", pkMap, "Deathmatch Map"}, {"CTF-Face.ut2", pkMap, "CTF Map"},
      {"DM-CTF-Hybrid.ut2", pkMap, "Deathmatch Map"}, {"CTF-DM-Hybrid.ut2", pkMap, "CTF Map"},
      {"dm-rankin.ut2", pkMap, "Map"},            {"DM-Rankin.UT2", pkOther, "*Unknown*"},
      {"ONS-Torlan.ut2", pkMap, "Onslaught Map"}, {"DOM-Core.ut2", pkMap, "Domination Map"},
      {"BR-Anubis.ut2", pkMap, "Bombing run Map"}, {"AS-Convoy.ut2", pkMap, "Assault Map"},
      {"TUT-DM.ut2", pkMap, "Tutorial Map"},      {"DM-Tex.utx", pkTexture, "Texture"},
      {"MyMutator.u", pkMutator, "Mutator"},      {"Mut.U", pkOther, "*Unknown*"},
      {"Song.ogg", pkMusic, "Music"},             {"Song.OGG", pkOther, "*Unknown*"},
      {"Fx.uax", pkSound, "Sounds"},              {"Meshes.usx", pkStaticMesh, "Statich mesh"},
      {"Ragdoll.ka", pkKarma, "Karma file"},      {"Anims.ukx", pkAnimation, "Animation"},
      {"Readme", pkOther, "*Unknown*"},           {"Maps\\DM-Rankin.u", pkMutator, "Mutator"},
      {"file.u.bak", pkOther, "*Unknown*"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetPackageKind(c.name, NoLeadBytes), c.kind) << c.name;
    EXPECT_EQ(TypeTextOf(c.name, NoLeadBytes), c.typeText) << c.name;
  }
}

TEST(PackageKinds, SendEachKindToItsOwnFolder) {
  const TAppliedPrefs prefs{"S\\", "M\\", "T\\", "So\\", "Mu\\", "Me\\", "A\\", "K\\", "C\\", false, false};
  const char* const folders[] = {"M\\", "S\\", "T\\", "So\\", "Mu\\", "Me\\", "K\\", "A\\", ""};
  for (int kind = pkMap; kind <= pkOther; ++kind)
    EXPECT_EQ(GetDestinationFolder(static_cast<TPackageKind>(kind), prefs), folders[kind]) << KindNames[kind];
}

TEST(FormatSize, ChoosesTheBandByStrictComparison) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0 bytes"},       {1024, "1024 bytes"},  {1025, "1KB"},          {2047, "1KB"},
      {1048576, "1024KB"},  {1048577, "1,00MB"},   {2097152, "2,00MB"},
      {1179648, "1,13MB"},  // exactly 1.125: the half rounds up
      {1567621, "1,49MB"},  {1567622, "1,50MB"},   {INT32_MAX, "2048,00MB"}, {-1, "-1 bytes"},
      {2147483648, "2048,00MB"}, {5368709120, "5120,00MB"},
  };
  for (const auto& [size, text] : cases) EXPECT_EQ(FormatSize(size, ','), text) << size;
  EXPECT_EQ(FormatSize(1048577, '.'), "1.00MB");
}

TEST(BuildListingRows, MakesOneRowPerEntryLineInFileOrder) {
  const std::vector<std::string> lines = {
      "[Cache]", "K1-1=DM-Rankin.ut2", ";K2-1=Commented.utx", "", "K3-1=Mut.u", "   ", "  ;K4-1=x.ogg", "NoEqualsSign",
      "K5-1=Other.utx",
  };
  const auto payloadSize = [](const std::string& key) -> int32_t {
    return key == "K1-1" ? 2097152 : key == "K3-1" || key == "K5-1" ? 5000 : key == "  ;K4-1" ? 12 : -1;
  };
  // Installed in the same size, in another size, and a name without a payload.
  const auto installedSize = [](const std::string& name) -> std::optional<int64_t> {
    if (name == "Mut.u") return 5000;
    if (name == "Other.utx" || name.empty()) return 4000;
    return std::nullopt;
  };
  const std::vector<TListingRow> expected = {
      {"DM-Rankin.ut2", "2.00MB", "Deathmatch Map", 0, false, 2097152},
      {"Mut.u", "4KB", "Mutator", 1, false, 5000},
      {"x.ogg", "12 bytes", "Music", 0, false, 12},
      {"", "-1 bytes", "*Unknown*", 1, false, -1},
      {"Other.utx", "4KB", "Texture", 3, false, 5000},
  };
  EXPECT_EQ(BuildListingRows(lines, payloadSize, installedSize, '.', NoLeadBytes), expected);
  EXPECT_TRUE(BuildListingRows({"K1-1=DM-Header.ut2"}, payloadSize, installedSize, '.', NoLeadBytes).empty());
}
