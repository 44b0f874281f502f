#include "integration/integration_run.h"

#include <windows.h>

#include <vector>

#include "catalogue/cache_index.h"
#include "catalogue/file_helpers.h"
#include "catalogue/open_cache.h"
#include "catalogue/package_kinds.h"
#include "catalogue/safe_names.h"
#include "catalogue/text_rules.h"
#include "framework/exceptions.h"
#include "integration/integration_texts.h"
#include "prefs/applied_prefs.h"
#include "ui/main_view.h"

namespace {

class TRun {
public:
  explicit TRun(TIntegrationContext& context) : c_(context) {}

  void Walk() {
    c_.View.SetProgressVisible(true);
    linesBeforeRun_ = c_.CacheIndex.CacheList();
    markedInRun_.assign(linesBeforeRun_.size(), false);
    const int rowCount = c_.View.RowCount();
    for (int row = 0; row < rowCount && !c_.StopRequested(); ++row) {
      if (!c_.View.RowTicked(row)) continue;
      ++tickedCount_;
      IntegrateRow(c_.View.RowCaption(row));
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
      c_.CacheIndex.LoadCacheIndex(indexPath);
    }
    FillCacheList(c_.View, c_.CacheIndex, c_.Prefs());
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

    c_.View.SetStatusText(FormatText(IntegrationTexts::CopyingFile, FileNameOf(dest).c_str()));
    CopyFileWithProgress(payload, dest, c_.View, c_.Io, staging_);
    c_.View.SetStatusText(FormatText(IntegrationTexts::DeletingFile, FileNameOf(payload).c_str()));
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
    context.View.SetProgressVisible(false);
    const std::exception_ptr runError = std::current_exception();
    try {
      run.UpdateIndex();
    } catch (...) {
      context.ReportError(runError);
      throw;
    }
    throw;
  }
  context.View.SetProgressVisible(false);
  context.View.SetStatusText("");
  if (context.StopRequested()) {
    run.UpdateIndex();
    return;
  }
  if (run.TickedCount() < 1) {
    context.View.ShowWarning(IntegrationTexts::NothingTicked);
    return;
  }
  context.View.SetStatusText(IntegrationTexts::UpdatingCacheFile);
  run.UpdateIndex();
  context.View.SetStatusText(IntegrationTexts::Done);
  context.View.ShowInformation(IntegrationTexts::RunSucceeded);
}
