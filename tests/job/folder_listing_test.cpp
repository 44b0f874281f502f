#include <gtest/gtest.h>

#include "core/listing_row_printer.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_index.h"
#include "job/folder_listing.h"
#include "support/test_files.h"
#include "win/files.h"

namespace {


std::string LowerCaseAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

const char* const NamePatterns[] = {"DM-Map%u.ut2", "Mut%u.u",    "Tex%u.utx",  "Snd%u.uax",  "Song%u.ogg",
                                    "Mesh%u.usx",   "Rag%u.ka",   "Anim%u.ukx", "Readme%u.txt"};

// A game folder with a cache of a few hundred entries: payloads whose names differ in case from
// their keys, missing payloads, folders named like payloads or packages, installed packages under
// other letter cases, names only a lookup by name can answer, and folder preferences that are
// empty or too short to end in '\'.
class RebuildListingRowsTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, former_), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryA(root_.Path().c_str()));
    prefs_.SystemPath = root_.Sub("System\\", true);
    prefs_.MapPath = root_.Sub("Maps\\", true);
    prefs_.TexturePath = root_.Sub("Textures\\", true);
    prefs_.SoundPath = "";     // the current folder
    prefs_.MusicPath = "Mu";   // two characters: the file name follows without a '\'
    prefs_.MeshPath = root_.Sub("StaticMeshes\\", true);
    prefs_.AnimationPath = root_.Sub("Animations\\", true);
    prefs_.KarmaPath = root_.Sub("NoSuchFolder\\");
    prefs_.CachePath = root_.Sub("Cache\\", true);

    lines_.push_back("[Cache]");
    for (uint32_t n = 1; n <= 360; ++n) AddBulkEntry(n);
    AddOddEntries();
    std::string text;
    for (const auto& line : lines_) text += line + "\n";
    WriteFileBytes(root_.Sub("Cache\\cache.ini"), text);
  }
  void TearDown() override { ::SetCurrentDirectoryA(former_); }

  void AddBulkEntry(uint32_t n) {
    char name[64];
    std::snprintf(name, sizeof name, NamePatterns[n % std::size(NamePatterns)], n);
    const std::string key = CacheGuid(n) + (n % 11 == 0 ? "-2" : "-1");
    lines_.push_back(key + "=" + name);
    if (n % 25 == 1) {
      MakeFolders(root_.Sub("Cache\\" + key + ".uxx\\"));
    } else if (n % 4 != 0) {
      WriteFileBytes(root_.Sub("Cache\\" + (n % 3 == 0 ? LowerCaseAscii(key) : key) + ".uxx"), PayloadBytes(n * 37, n));
    }
    const TPackageKind kind = GetPackageKind(name);
    if (kind == pkOther) {
      WriteFileBytes(root_.Sub(name), "");  // present, but an unknown kind has no folder
    } else if (kind == pkKarma) {
      return;  // its folder is missing
    } else if (n % 5 == 0) {
      const std::string file = n % 10 == 0 ? UpperCaseAscii(name) : std::string(name);
      WriteFileBytes(FullPathOf(GetDestinationFolder(kind, prefs_) + file), "x");
    } else if (n % 7 == 0) {
      MakeFolders(FullPathOf(GetDestinationFolder(kind, prefs_) + name) + "\\");
    }
  }

  void AddOddEntries() {
    MakeFolders(root_.Sub("Cache\\sub\\"));
    WriteFileBytes(root_.Sub("Cache\\sub\\" + CacheGuid(900) + "-1.uxx"), PayloadBytes(3000, 9));
    WriteFileBytes(root_.Sub("Cache\\~" + CacheGuid(901) + "-1.uxx"), PayloadBytes(4000, 9));
    WriteFileBytes(root_.Sub("Textures\\\xC9t\xE9.utx"), "");
    WriteFileBytes(root_.Sub("Maps\\DM-Trailing.ut2"), "");
    WriteFileBytes(root_.Sub("Cache\\" + CacheGuid(907) + "-1.uxx"), "", 5LL << 29);
    const std::string odd[] = {
        "*=DM-*.ut2",                                  // wildcards on both sides
        CacheGuid(2).substr(0, 31) + "?-1=Tex?.utx",   // a one-character wildcard
        "sub\\" + CacheGuid(900) + "-1=Sub.utx",       // a key that names a subfolder: never looked up
        "~" + CacheGuid(901) + "-1=Marked.ukx",        // a key as a marked line has it
        CacheGuid(902) + "-1=\xC9t\xE9.utx",           // a name the code page spells with high bytes
        CacheGuid(903) + "-1=DM-Trailing.ut2 ",        // a trailing blank, stripped by a lookup
        CacheGuid(904) + "-1=Mut:Colon.u",             // a drive-like separator in the name
        CacheGuid(905) + "-1=",                        // no name
        "NoEqualsSign",
        " ;" + CacheGuid(906) + "-1=Spaced.uax",
        CacheGuid(907) + "-1=DM-Huge.ut2",             // a payload of 2.5 GiB
    };
    lines_.insert(lines_.end(), std::begin(odd), std::end(odd));
  }

  // One lookup by name per row, for the keys that are plain file names.
  std::vector<TListingRow> RowsByName(const TCacheIndex& index) const {
    return BuildListingRows(
        index.CacheList(),
        [&](const std::string& key) {
          return IsSafeCacheKey(key, index.CacheDir(), SystemLeadByte) ? FileSizeOf(index.CacheDir() + key + ".uxx") : -1;
        },
        [&](const std::string& name) { return InstalledSize(name, prefs_); }, SystemDecimalSeparator(), SystemLeadByte);
  }

  TTempFolder root_;
  char former_[MAX_PATH] = {};
  TAppliedPrefs prefs_;
  std::vector<std::string> lines_;
};

}  // namespace

TEST_F(RebuildListingRowsTest, EqualsOneLookupByNamePerRow) {
  TCacheIndex index;
  ASSERT_EQ(index.LoadCacheIndex(root_.Sub("Cache\\cache.ini")), TIndexLoad::Loaded);
  const std::vector<TListingRow> rows = RebuildListingRows(index, prefs_);
  const std::vector<TListingRow> expected = RowsByName(index);
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], expected[i]) << "row " << i << ": " << expected[i].Caption;

  // The data does reach each answer.
  const auto row = [&](uint32_t n) { return rows.at(n - 1); };
  EXPECT_EQ(row(3).SizeText, "111 bytes");  // the payload's name in lower case
  EXPECT_EQ(row(4).SizeText, "-1 bytes");   // no payload
  EXPECT_EQ(row(26).SizeText, "0 bytes");   // a folder named like the payload
  EXPECT_EQ(row(10).ImageIndex, 3);         // Mut10.u, installed as MUT10.U in another size
  EXPECT_EQ(row(14).ImageIndex, 0);         // Mesh14.usx is a folder
  EXPECT_EQ(row(40).ImageIndex, 1);         // Song40.ogg as MuSONG40.OGG in the current folder
  EXPECT_EQ(rows.at(361).SizeText, "-1 bytes");  // a wildcard is no name: payload 2 is not its
  EXPECT_EQ(rows.at(364).ImageIndex, 1);         // a high-byte name, installed
  EXPECT_EQ(rows.back().PayloadSize, 5LL << 29);
}

TEST_F(RebuildListingRowsTest, GivesNoRowsWithoutAnIndex) {
  TCacheIndex index;
  EXPECT_TRUE(RebuildListingRows(index, prefs_).empty());
}
