#include "job/export_run.h"

#include <windows.h>

#include <set>
#include <vector>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/prefs_model.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "core/uz2.h"
#include "job/cache_index.h"
#include "job/job_texts.h"
#include "job/open_cache.h"
#include "job/package_transfer_texts.h"
#include "win/files.h"

namespace {

// Between two looks lies (de)compression, not a bare copy: a look every 40 ms keeps the window
// answering at the rate the bar is repainted, where a look every 12 ms cost a fifth of the run.
constexpr TRunStyle ExportStyle{TransferTexts::ExportingFile, 40000, false, false, false};

// The game's layout below root, as the default folders name it.
std::string LayoutFolderOf(TPackageKind kind) {
  TAppliedPrefs relative;
  for (const TFolderPref& pref : FolderPrefs) relative.*pref.Applied = pref.DefaultFolder;
  return GetDestinationFolder(kind, relative);  // "" for a package of unknown kind
}

class TExport {
public:
  TExport(TTransferContext& context, const TExportChoice& choice)
      : c_(context), form_(choice.Form), root_(choice.Folder), run_(context, ExportStyle) {
    if (!root_.empty() && root_.back() != '\\') root_ += '\\';
    if (form_ == TExportForm::ZipArchive) plan_.push_back({{}, {}, {}, root_ + TransferTexts::ExportArchiveName, {}});
  }

  // The ticked rows that are exported, and those left out.
  void Collect() {
    std::set<std::string> seen;
    for (int row = 0; row < c_.Rows.RowCount(); ++row) {
      if (!c_.Rows.RowTicked(row)) continue;
      const std::string name = c_.Rows.RowCaption(row);
      if (seen.insert(name).second) Collect(name);
    }
    PassOverCaseTwins(plan_);
  }

  // False when stopped on request.
  bool Write() {
    MakeFolder(root_);
    std::set<std::string> madeFolders;  // each layout folder is made once, not once per package
    for (const TTransferGroup& group : plan_)
      for (const TTransferItem& item : group.items)
        if (group.archiveTarget.empty() && madeFolders.insert(FolderOf(item.target)).second) MakeFolder(FolderOf(item.target));
    return run_.Run(plan_, [](const TTransferItem&) {});
  }

  // Every level of the folder that is missing is made; one that cannot be is named.
  static void MakeFolder(const std::string& folder) {
    DWORD error = 0;
    const std::string failed = MakeFolderPath(folder, error);
    if (!failed.empty())
      throw Exception(FormatText(TransferTexts::CannotCreateFolder, failed.c_str(), SystemErrorText(error).c_str()));
  }

  std::string Summary() const {
    using namespace TransferTexts;
    const size_t written = ItemCount();
    std::string text =
        form_ == TExportForm::ZipArchive
            ? CountText(written, ExportedToArchive, ExportedManyToArchive, root_ + ExportArchiveName)
            : CountText(written, ExportedFile, ExportedFiles, root_);
    if (!unknown_.empty())
      text += FormatText(form_ == TExportForm::RedirectUz2 ? UnknownKindsSkipped : UnknownKindsAtRoot,
                         NameList(unknown_).c_str());
    if (!unsafe_.empty()) text += FormatText(UnsafeRowsSkipped, NameList(unsafe_).c_str());
    return text + PassedOverNotes(plan_, {});
  }

private:
  void Collect(const std::string& name) {
    const std::string& cacheDir = c_.CacheIndex.CacheDir();
    const int line = c_.CacheIndex.FindCacheEntry(name);
    const std::string key = line < 0 ? "" : ExtractField(1, c_.CacheIndex.CacheList()[line], "=");
    const TPackageKind kind = GetPackageKind(name);
    const std::string layoutFolder = LayoutFolderOf(kind);
    const bool uz2 = form_ == TExportForm::RedirectUz2;
    const std::string fileName = uz2 ? name + std::string(Uz2Extension) : name;
    if (line < 0 || !IsSafeCacheKey(key, cacheDir, SystemLeadByte) ||
        !IsSafeFileName(fileName, uz2 ? root_ : root_ + layoutFolder, SystemLeadByte))
      return unsafe_.push_back(name);
    if (kind == pkOther) unknown_.push_back(name);
    if (kind == pkOther && uz2) return;
    TTransferItem item;
    item.name = name;
    item.kind = kind;
    item.form = uz2 ? TSourceForm::Uz2OfFile : TSourceForm::File;
    item.source = cacheDir + key + PayloadExtension;
    if (form_ == TExportForm::ZipArchive) {
      item.target = layoutFolder + name;
      plan_.front().items.push_back(std::move(item));
      return;
    }
    item.target = root_ + (uz2 ? fileName : layoutFolder + name);
    plan_.push_back({{}, {}, {}, {}, {std::move(item)}});
  }

  size_t ItemCount() const {
    size_t count = 0;
    for (const TTransferGroup& group : plan_)
      for (const TTransferItem& item : group.items) count += item.outcome == TTransferOutcome::Write;
    return count;
  }

  TTransferContext& c_;
  TExportForm form_;
  std::string root_;
  TTransferRun run_;
  TTransferPlan plan_;
  std::vector<std::string> unknown_, unsafe_;
};

}  // namespace

void ExportSelected(TTransferContext& context, IExportDialog& dialog) {
  bool anyTicked = false;
  for (int row = 0; row < context.Rows.RowCount() && !anyTicked; ++row) anyTicked = context.Rows.RowTicked(row);
  if (!anyTicked) {
    context.Boxes.ShowWarning(TransferTexts::NothingToExport);
    return;
  }
  const std::optional<TExportChoice> choice = dialog.ChooseExport();
  if (!choice) return;
  // Written there, a package of unknown kind named like the index or a payload would replace it.
  const std::string& cacheDir = context.CacheIndex.CacheDir();
  const std::string cacheFolder = FullPathOf(cacheDir.empty() ? "." : cacheDir);
  if (::lstrcmpiA(AddTrailingBackslash(FullPathOf(choice->Folder)).c_str(), AddTrailingBackslash(cacheFolder).c_str()) == 0) {
    context.Boxes.ShowWarning(TransferTexts::ExportIntoCache);
    return;
  }
  TExport run(context, *choice);
  run.Collect();
  if (!run.Write()) return;
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(run.Summary());
}
