#pragma once
// The integration run: every ticked row's cached payload is copied into the game folder of its
// kind under its real file name, the payload deleted and its index line dropped; the index is
// then saved, reloaded and the rows rebuilt.
#include <exception>
#include <functional>
#include <string>

#include "job/copy_file.h"
#include "job/job_seams.h"

struct TAppliedPrefs;
class TCacheIndex;

struct TIntegrationContext {
  IPackageRows& Rows;
  IStatusLine& Status;
  IProgress& Progress;
  IMessageBoxes& Boxes;
  TCacheIndex& CacheIndex;
  std::function<const TAppliedPrefs&()> Prefs;  // read anew at each use
  // The mutator step, for a code package once it lies in the System folder.
  std::function<void(const std::string& name)> InstallMutator;
  // Asked between two rows: true ends the walk early (the window is closing); the index is then
  // brought up to date as after an error, and nothing more is shown.
  std::function<bool()> StopRequested;
  // Shows an error through the program's default error box and returns: used for a run's own
  // error when bringing the index up to date fails too, so that the user sees both.
  std::function<void(std::exception_ptr error)> ReportError;
  TCopyIo Io = TCopyIo::Standard();
};

// Runs the walk over the ticked rows. A row whose real file name or key is no safe file name (see
// IsSafeFileName) is passed over like a package of unknown kind: nothing is read, written or
// deleted for it and the game's tool never sees it. Whatever ends the walk, an error included, the lines of the
// packages integrated so far are dropped from the index file before it returns or the error
// leaves, so every ticked package is either in its game folder and gone from the index, or still
// in the cache, in the index and on screen. The index file is rewritten only when a line changed;
// the payloads of the packages integrated are deleted once it has been, so a save that fails leaves
// them in the cache (their copies in the game folders are replaced by the next run).
void IntegrateSelected(TIntegrationContext& context);
