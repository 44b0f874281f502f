// Installing package files, .uz2 files and archives, on real files under Wine.
#include <gtest/gtest.h>

#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "job/cache_index.h"
#include "job/chosen_files.h"
#include "job/install_files_run.h"
#include "job/main_job_fixture.h"
#include "job/package_transfer_texts.h"

namespace {

class InstallRun : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TTempFolder downloads;
  std::vector<std::string> mutators, reported, reasons;
  TCacheIndex index;
  TTransferContext context{view, view, view, view, index, [this]() -> const TAppliedPrefs& { return game.Prefs; },
                          [this](const std::string& name) { mutators.push_back(name); }, [] { return false; },
                          [this](std::exception_ptr error) {
                            try { std::rethrow_exception(error); } catch (const EArchiveError& e) {
                              reported.push_back(e.what()), reasons.push_back(e.Reason());
                            }
                          }};

  std::string Chosen(const std::string& name, const std::string& bytes) {
    WriteFileBytes(downloads.Sub(name), bytes);
    return downloads.Sub(name);
  }
  std::string Install(const std::vector<std::string>& files) {
    return ErrorOf([&] { InstallPackageFiles(context, files); });
  }
};

TEST_F(InstallRun, PutsPackagesUz2FilesAndArchiveMembersInTheirKindsFolders) {
  const std::string rock = PayloadBytes(40000, 1), map = PayloadBytes(32768 * 3 + 1, 2), code = PayloadBytes(5000, 3);
  const std::string archive = ZipOf({{"Maps/CTF-X.ut2", rock}, {"Deep/Er/My.u", code}, {"readme.txt", "hi"}});
  const std::vector<std::string> files{Chosen("Rock.utx", rock), Chosen("DM-Rankin.ut2.uz2", Uz2Of(map)),
                                       Chosen("Pack.zip", archive), Chosen("notes.doc", "?"),
                                       Chosen("DM-UPPER.UT2", "upper"), Chosen("Dot.ut2..uz2", Uz2Of("dot"))};
  WriteFileBytes(game.Prefs.MapPath + "DM-Rankin.ut2", "an older version");

  EXPECT_EQ(Install(files), "");
  EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "Rock.utx"), rock);
  EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-Rankin.ut2"), map);
  EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "CTF-X.ut2"), rock);
  EXPECT_EQ(ReadFileBytes(game.Prefs.SystemPath + "My.u"), code);
  EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-UPPER.UT2"), "upper");
  const std::string kept = game.Prefs.MapPath + "Replaced\\NoGuid\\DM-Rankin.ut2";
  EXPECT_EQ(ReadFileBytes(kept), "an older version");
  EXPECT_EQ(EntriesIn(game.Prefs.MapPath), 4) << "no staging folder left";
  EXPECT_EQ(mutators, std::vector<std::string>{"My.u"});
  EXPECT_EQ(ReadFileBytes(files[2]), archive) << "chosen files are only read";
  EXPECT_EQ(EntriesIn(downloads.Path()), 6);
  ASSERT_EQ(view.Boxes.size(), 2u);
  EXPECT_NE(view.Boxes[0].find("DM-Rankin.ut2: installed 16 bytes; new 98305 bytes"), std::string::npos) << view.Boxes[0];
  EXPECT_EQ(view.Boxes[1], "info: 5 packages installed into your UT2004 installation.\r\n\r\n"
                           "Ignored, being no package file of a known kind: Pack.zip: readme.txt, notes.doc\r\n\r\n"
                           "Ignored, their names not being safe file names: Dot.ut2..uz2\r\n\r\n"
                           "The version it replaced was kept in\r\n" + kept);
  EXPECT_EQ(view.Statuses.front(), "Copying Rock.utx...");
  EXPECT_EQ(view.Visibility, (std::vector<bool>{true, false}));
}

// Each faulty file is reported under its name and installs nothing; the files around it do.
TEST_F(InstallRun, ReportsEachFaultyFileAndGoesOnWithTheNext) {
  using namespace ArchiveTexts;
  const std::string full = PayloadBytes(32768, 4), hello = Uz2Of("hello").substr(8);
  const std::string twice = ZipOf({{"Maps/A.ut2", "same"}, {"Maps/A.ut2", "same"}});
  std::string overlapping = twice, climbing = ZipOf({{"ab/x.ut2", "x"}}), resized = ZipOf({{"Maps/B.ut2", "12345"}});
  const size_t directory = twice.size() - 22 - 2 * (46 + 10);
  overlapping.replace(directory + 46 + 10 + 42, 4, Le32(0));  // the second entry's local header is the first's
  for (size_t at; (at = climbing.find("ab/x")) != std::string::npos;) climbing.replace(at, 3, "..\\");
  // The descriptor follows the local header, "Maps/B.ut2" and the deflated bytes.
  const size_t descriptor = 30 + 10 + std::uint8_t(resized[resized.size() - 22 - 56 + 20]);
  resized.replace(descriptor + 12, 4, Le32(6));
  resized.replace(resized.size() - 22 - 56 + 24, 4, Le32(6));
  const struct {
    const char* name;
    std::string bytes;
    const char* headline;
    const char* reason;
  } cases[] = {
      {"Cut.ut2.uz2", Le32(100) + Le32(5) + hello, ErrorReadingCompressedFile, ChunkDataCut},
      {"Header.ut2.uz2", Uz2Of(full) + "\x05\0", ErrorReadingCompressedFile, ChunkHeaderCut},
      {"Large.ut2.uz2", Le32(hello.size()) + Le32(32769) + hello, ErrorReadingCompressedFile, ChunkTooLarge},
      {"Size.ut2.uz2", Le32(hello.size()) + Le32(6) + hello, ErrorReadingCompressedFile, ChunkSizeDiffers},
      {"Zlib.ut2.uz2", Le32(5) + Le32(5) + "hello", ErrorReadingCompressedFile, ChunkNotCompressedData},
      {"Tail.ut2.uz2", Uz2Of("hello") + "xy", ErrorReadingCompressedFile, BytesAfterLastChunk},
      {"Sign.zip", "PK\x03\x04 not an archive", ErrorReadingArchive, NotZipArchive},
      {"Overlap.zip", overlapping, ErrorReadingArchive, MembersOverlap},
      {"Climb.zip", climbing, ErrorReadingArchive, UnsafeMemberName},
      {"Device.zip", ZipOf({{"Maps/B.ut2", "b"}, {"System/CON.u", "device"}}), ErrorReadingArchive, UnsafeMemberFileName},
      {"Control.zip", ZipOf({{"Maps/B.ut2", "b"}, {"Maps/C\x01.ut2", "c"}}), ErrorReadingArchive, UnsafeMemberFileName},
      {"Resized.zip", resized, ErrorReadingArchive, MemberSizeDiffers},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveTree(game.Prefs.MapPath);
    MakeFolders(game.Prefs.MapPath);
    reported.clear();
    reasons.clear();
    EXPECT_EQ(Install({Chosen("DM-First.ut2", "1"), Chosen(c.name, c.bytes), Chosen("DM-Last.ut2", "2")}), "");
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0], c.reason);
    EXPECT_EQ(reported[0].rfind(FormatText(c.headline, ("\"" + std::string(c.name) + "\"").c_str(), ""), 0), 0u) << reported[0];
    EXPECT_EQ(EntriesIn(game.Prefs.MapPath), 2) << "the files around it, and nothing of it";
    EXPECT_EQ(view.Boxes.back().find("Not installed, for the errors shown: " + std::string(c.name)) != std::string::npos, true);
  }
}

// An end box names twenty files at most, as boxes show names, so that its button stays on screen.
TEST(NameList, ShowsTwentyNamesAndHowManyMore) {
  std::vector<std::string> names(25, "n");
  names[0] = std::string("N\0l", 3);
  EXPECT_EQ(TransferTexts::NameList(names), "N?l, n, n, n, n, n, n, n, n, n, n, n, n, n, n, n, n, n, n, n and 5 more");
}

// A disk that fills up part way ends the run and leaves the former file and no part.
TEST_F(InstallRun, AFullDiskLeavesTheFormerFileAndNoPart) {
  const std::string map = PayloadBytes(70000, 5);
  for (const std::string& chosen : {Chosen("DM-Big.ut2", map), Chosen("DM-Big.ut2.uz2", Uz2Of(map)),
                                    Chosen("Big.zip", ZipOf({{"DM-Big.ut2", map}}))}) {
    SCOPED_TRACE(chosen);
    WriteFileBytes(game.Prefs.MapPath + "DM-Big.ut2", "former");
    size_t written = 0;
    context.Io.Write = [&written, write = TCopyIo::Standard().Write](HANDLE file, const void* data, DWORD size) {
      return (written += size) <= 20000 && write(file, data, size);
    };
    EXPECT_EQ(Install({chosen, Chosen("Rock.utx", "r")}), "Error writing output file");
    EXPECT_EQ(ReadFileBytes(game.Prefs.MapPath + "DM-Big.ut2"), "former");
    EXPECT_EQ(EntriesIn(game.Prefs.MapPath), 1);
    EXPECT_FALSE(FileExists(game.Prefs.TexturePath + "Rock.utx")) << "the run ends there";
  }
}

}  // namespace
