#include "job/integration_run.h"

#include <windows.h>

#include <vector>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_index.h"
#include "job/job_texts.h"
#include "job/open_cache.h"
#include "win/files.h"

namespace {

class TRun {
public:
  explicit TRun(TIntegrationContext& context) : c_(context) {}

  void Walk() {
    c_.Progress.SetProgressVisible(true);
    linesBeforeRun_ = c_.CacheIndex.CacheList();
    markedInRun_.assign(linesBeforeRun_.size(), false);
    const int rowCount = c_.Rows.RowCount();
    for (int row = 0; row < rowCount && !c_.StopRequested(); ++row) {
      if (!c_.Rows.RowTicked(row)) continue;
      ++tickedCount_;
      IntegrateRow(c_.Rows.RowCaption(row));
    }
  }

  // Drops the lines of the packages integrated so far, saves the index, deletes their payloads
  // and lists it again. A payload goes only once the index file no longer lists it: when the save
  // fails, every package is still in the cache and in the index, in the file and in memory alike.
  void UpdateIndex() {
    if (markedCount_ > 0) {
      const std::string indexPath = c_.Prefs().CachePath + c_.CacheIndex.CacheFileName();
      c_.CacheIndex.PurgeMarkedEntries();
      try {
        c_.CacheIndex.SaveCacheIndex(indexPath);
      } catch (...) {
        c_.CacheIndex.MutableLines() = linesBeforeRun_;
        throw;
      }
      markedCount_ = 0;
      for (const std::string& payload : placedPayloads_) c_.Io.Delete(payload);  // outcome ignored
      placedPayloads_.clear();
      LoadCacheIndexOrWarn(c_.CacheIndex, indexPath, c_.Boxes);
    }
    FillCacheList(c_.Rows, c_.CacheIndex, c_.Prefs());
  }

  int TickedCount() const { return tickedCount_; }

private:
  void IntegrateRow(const std::string& caption) {
    const int line = c_.CacheIndex.FindCacheEntry(caption);
    // A second row of the same real name finds the line the first one has just handled.
    if (line < 0 || markedInRun_[line]) return;
    const TAppliedPrefs& prefs = c_.Prefs();
    const std::string key = ExtractField(1, c_.CacheIndex.CacheList()[line], "=");
    const TPackageKind kind = GetPackageKind(caption);
    if (kind == pkOther) return;
    const std::string destFolder = GetDestinationFolder(kind, prefs);
    // cache.ini may come from a downloaded cache pack: a name or key that would lead anywhere but
    // one file in the folder it belongs in is passed over like a package of unknown kind.
    if (!IsSafeFileName(caption, destFolder, SystemLeadByte) || !IsSafeCacheKey(key, prefs.CachePath, SystemLeadByte))
      return;
    const std::string payload = prefs.CachePath + key + PayloadExtension;
    const std::string dest = destFolder + caption;

    c_.Status.SetStatusText(FormatText(JobTexts::CopyingFile, FileNameOf(dest).c_str()));
    CopyFileWithProgress(payload, dest, c_.Progress, c_.Io, staging_);
    c_.Status.SetStatusText(FormatText(JobTexts::DeletingFile, FileNameOf(payload).c_str()));
    if (kind == pkMutator) c_.InstallMutator(caption);
    c_.CacheIndex.MarkCacheEntry(line);
    markedInRun_[line] = true;
    ++markedCount_;
    placedPayloads_.push_back(payload);
  }

  TIntegrationContext& c_;
  std::vector<std::string> linesBeforeRun_;
  std::vector<bool> markedInRun_;
  std::vector<std::string> placedPayloads_;  // of the marked lines, deleted once the index is saved
  TStagingFolders staging_;
  int tickedCount_ = 0;
  int markedCount_ = 0;
};

}  // namespace

void IntegrateSelected(TIntegrationContext& context) {
  TRun run(context);
  try {
    run.Walk();
  } catch (...) {
    // The error is shown once the index tells the truth about what has been integrated. When that
    // fails too, the user learns first what went wrong with the package, then with the index.
    context.Progress.SetProgressVisible(false);
    const std::exception_ptr runError = std::current_exception();
    try {
      run.UpdateIndex();
    } catch (...) {
      context.ReportError(runError);
      throw;
    }
    throw;
  }
  context.Progress.SetProgressVisible(false);
  context.Status.SetStatusText("");
  if (context.StopRequested()) {
    run.UpdateIndex();
    return;
  }
  if (run.TickedCount() < 1) {
    context.Boxes.ShowWarning(JobTexts::NothingTicked);
    return;
  }
  context.Status.SetStatusText(JobTexts::UpdatingCacheFile);
  run.UpdateIndex();
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(JobTexts::RunSucceeded);
}
