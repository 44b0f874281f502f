#include "job/export_run.h"

#include <windows.h>

#include <set>
#include <vector>

#include "core/applied_prefs.h"
#include "core/archive_error.h"
#include "core/archive_texts.h"
#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/prefs_model.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "core/uz2.h"
#include "core/zip_archive.h"
#include "job/cache_index.h"
#include "job/job_texts.h"
#include "job/open_cache.h"
#include "job/package_transfer_texts.h"
#include "job/staged_output.h"
#include "win/files.h"

namespace {

struct TPackage {
  std::string Name, Payload, LayoutFolder;  // the folder relative to the export's, "" or "Maps\"
};

// The game's layout below root, as the default folders name it.
std::string LayoutFolderOf(TPackageKind kind) {
  TAppliedPrefs relative;
  for (const TFolderPref& pref : FolderPrefs) relative.*pref.Applied = pref.DefaultFolder;
  return GetDestinationFolder(kind, relative);  // "" for a package of unknown kind
}

class TExport {
public:
  explicit TExport(TExportContext& context) : c_(context) {}

  void Choose(const TExportChoice& choice) {
    form_ = choice.Form;
    root_ = choice.Folder;
    if (!root_.empty() && root_.back() != '\\') root_ += '\\';
  }

  // The ticked rows that are exported, and those left out.
  void Collect() {
    const TAppliedPrefs& prefs = c_.Prefs();
    std::set<std::string> seen;
    for (int row = 0; row < c_.Rows.RowCount(); ++row) {
      if (!c_.Rows.RowTicked(row)) continue;
      const std::string name = c_.Rows.RowCaption(row);
      if (!seen.insert(name).second) continue;
      const int line = c_.CacheIndex.FindCacheEntry(name);
      const std::string key = line < 0 ? "" : ExtractField(1, c_.CacheIndex.CacheList()[line], "=");
      const TPackageKind kind = GetPackageKind(name);
      const std::string layoutFolder = LayoutFolderOf(kind);
      const std::string folder = root_ + layoutFolder;
      const std::string fileName = form_ == TExportForm::RedirectUz2 ? name + std::string(Uz2Extension) : name;
      if (line < 0 || !IsSafeCacheKey(key, prefs.CachePath, SystemLeadByte) ||
          !IsSafeFileName(fileName, form_ == TExportForm::RedirectUz2 ? root_ : folder, SystemLeadByte)) {
        unsafe_.push_back(name);
      } else if (kind == pkOther && form_ == TExportForm::RedirectUz2) {
        unknown_.push_back(name);
      } else {
        if (kind == pkOther) unknown_.push_back(name);
        packages_.push_back({name, prefs.CachePath + key + PayloadExtension, layoutFolder});
      }
    }
  }

  // The package in hand stays named on the status line when an error ends the export.
  void ShowStatus() { status_.Show(); }

  // False when stopped on request.
  bool Write() {
    MakeFolder(root_);
    if (form_ == TExportForm::ZipArchive) return WriteArchive();
    std::set<std::string> madeFolders;  // each layout folder is made once, not once per package
    for (const TPackage& package : packages_) {
      if (c_.StopRequested()) return false;
      Announce(package.Name);
      if (form_ == TExportForm::GameLayout) {
        status_.Show();  // the copy looks at the queue on its own clock
        if (madeFolders.insert(package.LayoutFolder).second) MakeFolder(root_ + package.LayoutFolder);
        CopyFileWithProgress(package.Payload, root_ + package.LayoutFolder + package.Name, c_.Progress, c_.Io, staging_);
      } else {
        TFileSource source = OpenSourceFile(package.Payload);
        TProgressClock clock(c_.Progress, static_cast<int64_t>(source.Size()), messages_);
        TProgressSource counted(source, clock);
        TStagedSink uz2(root_ + package.Name + std::string(Uz2Extension), staging_, c_.Io);
        WriteUz2(counted, uz2);
        uz2.Commit();
        clock.Finish();
      }
    }
    return true;
  }

  std::string Summary() const {
    using namespace TransferTexts;
    std::string text =
        form_ == TExportForm::ZipArchive
            ? CountText(packages_.size(), ExportedToArchive, ExportedManyToArchive, root_ + ExportArchiveName)
            : CountText(packages_.size(), ExportedFile, ExportedFiles, root_);
    if (!unknown_.empty())
      text += FormatText(form_ == TExportForm::RedirectUz2 ? UnknownKindsSkipped : UnknownKindsAtRoot,
                         NameList(unknown_).c_str());
    if (!unsafe_.empty()) text += FormatText(UnsafeRowsSkipped, NameList(unsafe_).c_str());
    return text;
  }

private:
  bool WriteArchive() {
    const std::string path = root_ + TransferTexts::ExportArchiveName;
    TStagedSink archive(path, staging_, c_.Io);
    try {
      TZipWriter zip(archive);
      for (const TPackage& package : packages_) {
        if (c_.StopRequested()) return false;
        Announce(package.Name);
        TFileSource source = OpenSourceFile(package.Payload);
        const std::uint32_t written = source.LastWriteDosTime();
        TDosDateTime modified;
        if (written != 0) modified = {static_cast<std::uint16_t>(written >> 16), static_cast<std::uint16_t>(written)};
        TProgressClock clock(c_.Progress, static_cast<int64_t>(source.Size()), messages_);
        TProgressSource counted(source, clock);
        zip.Add(Utf8OfAnsi(package.LayoutFolder + package.Name), counted, modified);
        clock.Finish();
      }
      zip.Finish();
    } catch (const EArchiveError& error) {
      const std::string quoted = FormatText(TransferTexts::QuotedName, path.c_str());
      throw Exception(FormatText(ArchiveTexts::ErrorWritingArchive, quoted.c_str(), error.what()));
    }
    archive.Commit();
    return true;
  }

  void Announce(const std::string& name) { status_.Announce(FormatText(TransferTexts::ExportingFile, name.c_str())); }
  // A folder that cannot be made shows as the output file that cannot be created in it.
  static void MakeFolder(const std::string& folder) { ::CreateDirectoryA(folder.c_str(), nullptr); }

  TExportContext& c_;
  TExportForm form_ = TExportForm::GameLayout;
  std::string root_;
  std::vector<TPackage> packages_;
  std::vector<std::string> unknown_, unsafe_;
  TStagingFolders staging_;
  // Between two looks lies (de)compression, not a bare copy: a look every 40 ms keeps the window
  // answering at the rate the bar is repainted, where a look every 12 ms cost a fifth of the run.
  TMessageClock messages_{0, 40000, {}};
  TDeferredStatus status_{c_.Status, messages_};
};

}  // namespace

void ExportSelected(TExportContext& context, IExportDialog& dialog) {
  bool anyTicked = false;
  for (int row = 0; row < context.Rows.RowCount() && !anyTicked; ++row) anyTicked = context.Rows.RowTicked(row);
  if (!anyTicked) {
    context.Boxes.ShowWarning(TransferTexts::NothingToExport);
    return;
  }
  const std::optional<TExportChoice> choice = dialog.ChooseExport();
  if (!choice) return;
  // Written there, a package of unknown kind named like the index or a payload would replace it.
  const std::string cacheFolder = FullPathOf(context.Prefs().CachePath.empty() ? "." : context.Prefs().CachePath);
  if (::lstrcmpiA(AddTrailingBackslash(FullPathOf(choice->Folder)).c_str(), AddTrailingBackslash(cacheFolder).c_str()) == 0) {
    context.Boxes.ShowWarning(TransferTexts::ExportIntoCache);
    return;
  }
  TExport run(context);
  run.Choose(*choice);
  run.Collect();
  context.Progress.SetProgressVisible(true);
  bool finished = false;
  try {
    finished = run.Write();
  } catch (...) {
    run.ShowStatus();
    context.Progress.SetProgressVisible(false);
    throw;
  }
  context.Progress.SetProgressVisible(false);
  if (!finished) return;
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(run.Summary());
}
