#pragma once
// The one run of the commands that write package files: Integrate selected, Install package files
// and Export selected. A command plans its transfer (transfer_plan.h); the run then stages the
// files of each group of the plan and commits them in place, with one progress bar, one status
// line and one message clock for the whole run.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "job/job_seams.h"
#include "job/staged_output.h"
#include "job/transfer_plan.h"

struct TAppliedPrefs;
class TCacheIndex;

// What the three commands work with; each uses the parts it needs.
struct TTransferContext {
  IPackageRows& Rows;
  IStatusLine& Status;
  IProgress& Progress;
  IMessageBoxes& Boxes;
  TCacheIndex& CacheIndex;
  std::function<const TAppliedPrefs&()> Prefs;  // read anew at each use
  // The mutator step, for a code package once it lies in the System folder.
  std::function<void(const std::string& name)> InstallMutator;
  // Asked between two files: true ends the run there (the window is closing), without its end box.
  std::function<bool()> StopRequested;
  // Shows an error through the program's default error box and returns, for the errors a command
  // goes on after.
  std::function<void(std::exception_ptr error)> ReportError;
  TCopyIo Io = TCopyIo::Standard();
};

// How a command's run goes.
struct TRunStyle {
  const char* statusText;  // "%s" takes the name of the file in hand: "Copying %s..."
  // Between two looks at the message queue. Copies look with the first piece of every file as well;
  // (de)compression looks less often, since its pieces take longer.
  int64_t lookIntervalMicroseconds;
  bool lookAtEachFile;
  // Targets in the game's folders: no installed file is replaced unless the plan said Replace,
  // and then it is kept aside first.
  bool gameFolders;
  // A chosen file whose bytes are faulty (EArchiveError) is reported, and the run goes on.
  bool refusalsPerFile;
};

class TTransferRun {
public:
  TTransferRun(TTransferContext& context, const TRunStyle& style);
  TTransferRun(const TTransferRun&) = delete;
  TTransferRun& operator=(const TTransferRun&) = delete;

  // Where the run stages its files; the plan's look at the targets shares its folder listings.
  TStagingFolders& Staging() { return staging_; }

  // Shows the bar, stages and commits the plan's groups in order and hides the bar again, also
  // when an error ends the run (the file in hand then stays named on the status line). A group's
  // files take their places only once all of them are staged. placed is called for each file once
  // it is in its place, or found there already. False when stopped on request.
  bool Run(TTransferPlan& plan, const std::function<void(const TTransferItem&)>& placed);

  // The chosen files refused for their bytes, by name; the places of the versions kept aside.
  const std::vector<std::string>& Refused() const { return refused_; }
  const std::vector<std::string>& Kept() const { return kept_; }

private:
  bool RunGroup(TTransferGroup& group, const std::function<void(const TTransferItem&)>& placed);
  std::unique_ptr<TStagedFile> Stage(const TTransferGroup& group, const TTransferItem& item);
  void Commit(TStagedFile& staged, TTransferItem& item);
  bool WriteArchive(TTransferGroup& group);
  void Announce(const std::string& name);

  TTransferContext& c_;
  TRunStyle style_;
  TStagingFolders staging_;
  TMessageClock messages_;
  TDeferredStatus status_;
  std::vector<std::string> refused_, kept_;
};

// The end box's note naming the files passed over for each reason, in a fixed order, and the
// versions kept; empty when there are none.
std::string PassedOverNotes(const TTransferPlan& plan, const std::vector<std::string>& kept);
