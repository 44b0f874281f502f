// Exporting ticked packages, on real files under Wine.
#include <gtest/gtest.h>

#include <map>

#include "core/memory_streams.h"
#include "core/uz2.h"
#include "core/zip_archive.h"
#include "job/cache_index.h"
#include "job/export_run.h"
#include "job/main_job_fixture.h"
#include "job/open_cache.h"

namespace {

struct TScriptedExportDialog : IExportDialog {
  std::optional<TExportChoice> Choice;
  std::optional<TExportChoice> ChooseExport() override { return Choice; }
};

// Every file below folder with its bytes, by path relative to it.
std::map<std::string, std::string> Snapshot(const std::string& folder, const std::string& relative = "") {
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((folder + relative + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry)) {
    const std::string name = entry.cFileName, path = relative + name;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files[path] = ReadFileBytes(folder + path);
    else if (name != "." && name != "..") files.merge(Snapshot(folder, path + "\\"));
  }
  return files;
}

std::string Restored(const std::string& uz2) {
  TMemorySource source(uz2);
  TMemorySink original;
  ReadUz2(source, original);
  return original.bytes;
}

class ExportRun : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TCacheIndex index;
  TTempFolder out;
  TScriptedExportDialog dialog;
  TTransferContext context{view, view, view, view, index, [this]() -> const TAppliedPrefs& { return game.Prefs; },
                           {}, [] { return false; }, {}};
  const std::string map = PayloadBytes(70000, 1), code = PayloadBytes(0, 2), notes = PayloadBytes(33, 3);

  // A map, a code package, a package of unknown kind, a device name, a row left unticked.
  void OpenTicked() {
    const std::vector<std::string> lines{Header, game.Entry(1, "DM-Rankin.ut2", map), game.Entry(2, "Pack.u", code),
                                         game.Entry(3, "readme.txt", notes), game.Entry(4, "CON.utx", "device"),
                                         game.Entry(5, "Other.utx", "unticked")};
    WriteFileBytes(game.Index(), TGameFolder::Joined(lines));
    ASSERT_EQ(index.LoadCacheIndex(game.Index()), TIndexLoad::Loaded);
    FillCacheList(view, index, game.Prefs);
    for (TListingRow& row : view.Rows) row.Ticked = row.Caption != "Other.utx";
  }
  std::string Export(TExportForm form) {
    dialog.Choice = TExportChoice{form, out.Path() + "Two\\Friends"};
    return ErrorOf([this] { ExportSelected(context, dialog); });
  }
};

TEST_F(ExportRun, EachFormWritesTheTickedPackagesAndLeavesTheCacheAsItWas) {
  OpenTicked();
  const auto cache = Snapshot(game.Prefs.CachePath);
  const std::string folder = out.Path() + "Two\\Friends\\";
  const std::map<std::string, std::string> layout{
      {"Maps\\DM-Rankin.ut2", map}, {"System\\Pack.u", code}, {"readme.txt", notes}};

  EXPECT_EQ(Export(TExportForm::GameLayout), "");
  EXPECT_EQ(Snapshot(folder), layout) << "no staging folder or part left";
  EXPECT_EQ(view.Boxes.back(), "info: 3 files written to\r\n" + folder +
                                   "\r\n\r\nPackages of unknown kind were placed at the top of the layout: readme.txt"
                                   "\r\n\r\nLeft out for names that are not plain file names, or without a cache entry: CON.utx");
  RemoveTree(folder);

  EXPECT_EQ(Export(TExportForm::ZipArchive), "");
  const std::string archive = ReadFileBytes(folder + "Packages.zip");
  EXPECT_EQ(Snapshot(folder).size(), 1u);
  TMemoryFile file(archive);
  TZipReader reader(file, NoLeadBytes);
  std::map<std::string, std::string> members;
  for (size_t i = 0; i < reader.Members().size(); ++i) {
    TMemorySink bytes;
    reader.Extract(i, bytes);
    members[reader.Members()[i].folder + (reader.Members()[i].folder.empty() ? "" : "\\") + reader.Members()[i].fileName] = bytes.bytes;
  }
  EXPECT_EQ(members, layout);
  RemoveTree(folder);

  EXPECT_EQ(Export(TExportForm::RedirectUz2), "");
  const auto flat = Snapshot(folder);
  ASSERT_EQ(flat.size(), 2u);
  EXPECT_EQ(Restored(flat.at("DM-Rankin.ut2.uz2")), map);
  EXPECT_EQ(Restored(flat.at("Pack.u.uz2")), code);
  EXPECT_NE(view.Boxes.back().find("left out: readme.txt"), std::string::npos) << view.Boxes.back();

  EXPECT_EQ(Snapshot(game.Prefs.CachePath), cache) << "cache.ini and every payload byte-identical";
  EXPECT_EQ(view.Statuses.front(), "Exporting DM-Rankin.ut2...");
}

TEST_F(ExportRun, AsksNothingWithoutATickAndDoesNothingWhenCancelled) {
  for (bool ticked : {false, true}) {
    if (ticked) OpenTicked();
    view.Boxes.clear();
    EXPECT_EQ(ErrorOf([this] { ExportSelected(context, dialog); }), "");
    EXPECT_EQ(view.Boxes, ticked ? std::vector<std::string>{} : std::vector<std::string>{"warning: You must tick the packages to export!"});
  }
  EXPECT_EQ(EntriesIn(out.Path()), 0);
  const auto cache = Snapshot(game.Prefs.CachePath);
  dialog.Choice = TExportChoice{TExportForm::GameLayout, game.Prefs.CachePath.substr(0, game.Prefs.CachePath.size() - 1)};
  EXPECT_EQ(ErrorOf([this] { ExportSelected(context, dialog); }), "");
  EXPECT_EQ(view.Boxes.back(), "warning: The packages cannot be exported into the cache folder itself.");
  EXPECT_EQ(Snapshot(game.Prefs.CachePath), cache);

  // A folder that cannot be made is named; nothing is written.
  WriteFileBytes(out.Sub("File"), "a file");
  dialog.Choice = TExportChoice{TExportForm::GameLayout, out.Sub("File\\Friends")};
  EXPECT_EQ(ErrorOf([this] { ExportSelected(context, dialog); }),
            "Cannot create folder \"" + out.Sub("File") + "\". " + SystemErrorText(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(EntriesIn(out.Path()), 1);
}

// A disk that fills up part way: every file at the target stays as it was, and nothing is left.
TEST_F(ExportRun, AFullDiskLeavesTheFormerFilesAndNoPart) {
  OpenTicked();
  const std::string folder = out.Path() + "Two\\Friends\\";
  const struct {
    TExportForm form;
    const char* former;
  } cases[] = {{TExportForm::GameLayout, "Maps\\DM-Rankin.ut2"},
               {TExportForm::ZipArchive, "Packages.zip"},
               {TExportForm::RedirectUz2, "DM-Rankin.ut2.uz2"}};
  for (const auto& c : cases) {
    RemoveTree(folder);
    MakeFolders(folder + "Maps\\");
    WriteFileBytes(folder + c.former, "former");
    size_t written = 0;
    context.Io.Write = [&written, write = TCopyIo::Standard().Write](HANDLE file, const void* data, DWORD size) {
      return (written += size) <= 20000 && write(file, data, size);
    };
    EXPECT_EQ(Export(c.form), "Error writing output file");
    EXPECT_EQ(Snapshot(folder), (std::map<std::string, std::string>{{c.former, "former"}}));
    EXPECT_EQ(view.Visibility.back(), false);
  }
}

}  // namespace
