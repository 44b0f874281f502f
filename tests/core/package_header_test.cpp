#include <gtest/gtest.h>

#include "core/package_builder.h"
#include "core/package_header.h"

using Names = std::vector<std::string>;

namespace {

Names ManyNames(int count) {
  Names names;
  // Appended rather than "N" + ..., which GCC 12 takes for an overlapping copy and warns about.
  for (int i = 0; i < count; ++i) names.push_back(std::string("N").append(std::to_string(i)));
  return names;
}

}  // namespace

TEST(ReadPackageHeader, ReadsWhatAPackageNeedsAndRefusesMalformedFiles) {
  using enum TPackageFault;
  const auto needing = ImportsNeeding({"PyramidTex", "PyramidCode", "Engine"});
  // The imports name a class of each package, its name followed by "Actor": the longest name.
  const std::string longest(MaxPackageNameBytes - 6, 'H'), tooLong(MaxPackageNameBytes, 'L');
  constexpr uint64_t Sparse = 1ull << 28;
  const struct {
    const char* what;
    TPackageBuilder package;
    TPackageFault fault;
    Names needs;
  } cases[] = {
      {"a map needing a texture, a code and a stock package", {.imports = needing}, None,
       {"PyramidTex", "PyramidCode", "Engine"}},
      {"its fields", {.licensee = 7, .flags = 0x80000401, .generations = {{10, 40}, {12, 44}}}, None, {}},
      {"a package twice, in other letter case", {.imports = ImportsNeeding({"Engine", "Core", "ENGINE", "engine"})},
       None, {"Engine", "Core"}},
      {"version 67, without GUID", {.version = 67, .imports = ImportsNeeding({"OldTex"})}, None, {"OldTex"}},
      {"version 62, names without lengths", {.version = 62, .imports = ImportsNeeding({"OlderTex"})}, None,
       {"OlderTex"}},
      {"indexes past 8191, a name at the longest",
       {.imports = ImportsNeeding({"Far", longest}), .extraNames = ManyNames(9000)}, None, {"Far", longest}},
      {"a name longer than the game's", {.extraNames = {tooLong}}, NameTooLong, {}},
      {"2^24 generations, in a sparse file", {.generationCount = 1u << 24, .zerosAfter = Sparse}, None, {}},
      {"2^24 imports, in a sparse file", {.importCount = 1u << 24, .zerosAfter = Sparse}, TooManyEntries, {}},
      {"2^24 names, in a sparse file", {.nameCount = 1u << 24, .zerosAfter = Sparse}, TooManyEntries, {}},
      {"five-byte indexes", {.imports = needing, .indexForm = TIndexForm::FiveBytes}, None,
       {"PyramidTex", "PyramidCode", "Engine"}},
      {"a five-byte index beyond 31 bits", {.imports = needing, .indexForm = TIndexForm::FiveBytesTooLarge},
       BadCompactIndex, {}},
      {"cut inside the last import", {.imports = needing, .indexForm = TIndexForm::FiveBytes, .cutBytes = 3},
       Truncated, {}},
      {"cut inside the header", {.cutBytes = 60}, Truncated, {}},
      {"shorter than a signature", {.cutBytes = 87}, NotAPackage, {}},
      {"another signature", {.signature = 0x9E2A83C2}, NotAPackage, {}},
      {"a name count of 2^31", {.nameCount = 0x80000000}, OutsideFile, {}},
      {"more names than the file could hold", {.nameCount = 1000}, OutsideFile, {}},
      {"an import table past the end", {.imports = needing, .importOffset = 1000000}, OutsideFile, {}},
      {"more exports than the file could hold", {.exportCount = 1000}, OutsideFile, {}},
      {"more generations than the file could hold", {.generationCount = 1000}, OutsideFile, {}},
      {"a name longer than the file", {.firstNameLength = 1000000}, NameLongerThanFile, {}},
      {"a negative name length", {.firstNameLength = -1000000}, BadName, {}},
      {"an empty name", {.firstNameLength = 1}, BadName, {}},
      {"a name without its zero", {.firstNameLength = 4}, BadName, {}},
      {"a name with a zero inside", {.extraNames = {std::string("Bad\0Name", 8)}}, BadName, {}},
      {"imports naming names beyond the table", {.imports = needing, .nameCount = 3}, NameIndexOutOfRange, {}},
  };
  for (const auto& c : cases) {
    TMemoryByteSource source(c.package.Build(), c.package.zerosAfter);
    const TPackageReading reading = ReadPackageHeader(source);
    EXPECT_EQ(reading.fault, c.fault) << c.what;
    EXPECT_EQ(reading.header.neededPackages, c.needs) << c.what;
    EXPECT_TRUE(c.package.zerosAfter == 0 || source.bytesRead < 65536) << c.what << ": " << source.bytesRead;
    if (c.fault != None) continue;
    const bool hasGuid = c.package.version >= 68;
    EXPECT_EQ(reading.header.version, c.package.version) << c.what;
    EXPECT_EQ(reading.header.licensee, c.package.licensee) << c.what;
    EXPECT_EQ(reading.header.flags, c.package.flags) << c.what;
    EXPECT_EQ(reading.header.guid, hasGuid ? std::optional(c.package.guid) : std::nullopt) << c.what;
    const auto generations = c.package.generationCount.value_or(static_cast<uint32_t>(c.package.generations.size()));
    EXPECT_EQ(reading.header.generationCount, hasGuid ? generations : 0u) << c.what;
    EXPECT_EQ(reading.header.latestGeneration, hasGuid ? c.package.generations.back() : TPackageGeneration{}) << c.what;
  }
}

TEST(ReadPackageHeader, ReadsOnlyTheHeaderAndTablesOfABigPackage) {
  TMemoryByteSource source(TPackageBuilder{.imports = ImportsNeeding({"PyramidTex"}), .fillerBytes = 1 << 20}.Build());
  EXPECT_EQ(ReadPackageHeader(source).header.neededPackages, Names{"PyramidTex"});
  EXPECT_LT(source.bytesRead, source.Size() / 64);
}

TEST(CacheKeyMatchesGuid, TakesTheGuidInUpperCaseHexBeforeTheLastDashAndANumber) {
  EXPECT_EQ(GuidKeyText({0xA, 0, 0xFFFFFFFF, 0x00ABCDEF}), "0000000A00000000FFFFFFFF00ABCDEF");
  const TPackageGuid guid = {0x3F2A9C0D, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3};
  const std::string hex = "3F2A9C0D5B7E41C6A8D2F0B9E1C4A7D3";
  const std::pair<std::string, bool> cases[] = {
      {hex + "-1", true},          {hex + "-2", true},         {hex + "-10", true},
      {"3f2a9c0d5b7e41c6a8d2f0b9e1c4a7d3-1", false},           {hex, false},
      {hex + "-", false},          {hex + "-1a", false},       {hex + "-1-1", false},
      {"0" + hex + "-1", false},   {hex.substr(1) + "-1", false}, {"-1", false},
  };
  for (const auto& [key, matches] : cases) EXPECT_EQ(CacheKeyMatchesGuid(key, guid), matches) << key;
}
