#include "job/integration_run.h"

#include <windows.h>

#include <vector>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_cleanup.h"
#include "job/cache_index.h"
#include "job/job_texts.h"
#include "job/open_cache.h"
#include "job/package_transfer_texts.h"
#include "win/files.h"

namespace {

// A copy looks at the message queue with the first piece of every file, and every 12 ms after.
constexpr TRunStyle IntegrationStyle{JobTexts::CopyingFile, 12000, true, true, false};

class TIntegration {
public:
  explicit TIntegration(TTransferContext& context) : c_(context), run_(context, IntegrationStyle) {}

  // The ticked rows' packages, in the order shown, and the look at their targets; false when the
  // question about other installed versions was closed by its close box.
  bool Plan() {
    std::vector<bool> planned(c_.CacheIndex.CacheList().size(), false);
    for (int row = 0; row < c_.Rows.RowCount(); ++row) {
      if (!c_.Rows.RowTicked(row)) continue;
      ++tickedCount_;
      const std::string caption = c_.Rows.RowCaption(row);
      const int line = c_.CacheIndex.FindCacheEntry(caption);
      // A second row of the same real name finds the line of the first one.
      if (line < 0 || planned[line]) continue;
      TTransferItem item;
      if (!PlanCachedPackage(c_.CacheIndex, c_.Prefs(), line, item)) continue;
      planned[line] = true;
      plan_.push_back({{}, {}, {}, {}, {std::move(item)}});
    }
    PassOverCaseTwins(plan_);
    ReviewGameFolderTargets(plan_, run_.Staging());
    return AskAboutConflicts(plan_, c_.Boxes, TransferTexts::CachedVersion);
  }

  // False when stopped on request.
  bool Walk() {
    return run_.Run(plan_, [this](const TTransferItem& item) { Placed(item); });
  }

  // Drops the lines of the packages integrated so far from the index file, deletes the payloads
  // no line names any more and lists the index again. A payload goes only once the index file no
  // longer lists it: when the save fails, every package is still in the cache and in the index,
  // in the file and in memory alike. After an error the status line keeps naming the file that
  // failed, so the deletions are not shown there.
  void UpdateIndex(bool showDeletions) {
    if (!placedLines_.empty()) {
      DropIndexLines(c_.CacheIndex, placedLines_, c_.Io, showDeletions ? &c_.Status : nullptr, nullptr);
      placedLines_.clear();
      LoadCacheIndexOrWarn(c_.CacheIndex, c_.CacheIndex.CacheDir() + c_.CacheIndex.CacheFileName(), c_.Boxes);
    }
    FillCacheList(c_.Rows, c_.CacheIndex, c_.Prefs());
  }

  int TickedCount() const { return tickedCount_; }
  std::string Summary() const { return JobTexts::RunSucceeded + PassedOverNotes(plan_, run_.Kept()); }

private:
  // The package is in its game folder: its line leaves the index, and its payload the cache.
  void Placed(const TTransferItem& item) {
    if (item.kind == pkMutator && item.outcome != TTransferOutcome::AlreadyInPlace) c_.InstallMutator(item.name);
    placedLines_.push_back(item.line);
  }

  TTransferContext& c_;
  TTransferRun run_;
  TTransferPlan plan_;
  std::vector<int> placedLines_;  // their payloads go once the index no longer lists them
  int tickedCount_ = 0;
};

}  // namespace

void IntegrateSelected(TTransferContext& context) {
  TIntegration run(context);
  if (!run.Plan()) return;
  bool finished = false;
  try {
    finished = run.Walk();
  } catch (...) {
    // The error is shown once the index tells the truth about what has been integrated. When that
    // fails too, the user learns first what went wrong with the package, then with the index.
    const std::exception_ptr runError = std::current_exception();
    try {
      run.UpdateIndex(false);
    } catch (...) {
      context.ReportError(runError);
      throw;
    }
    throw;
  }
  context.Status.SetStatusText("");
  if (!finished) {
    run.UpdateIndex(false);
    return;
  }
  if (run.TickedCount() < 1) {
    context.Boxes.ShowWarning(JobTexts::NothingTicked);
    return;
  }
  context.Status.SetStatusText(JobTexts::UpdatingCacheFile);
  run.UpdateIndex(true);
  context.Status.SetStatusText(JobTexts::Done);
  context.Boxes.ShowInformation(run.Summary());
}
