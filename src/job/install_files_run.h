#pragma once
// Installing package files the user picks: loose packages, their .uz2 forms and zip archives laid
// out like the game, each package into its kind's game folder. The chosen files are only read.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "job/copy_file.h"
#include "job/job_seams.h"

struct TAppliedPrefs;

// The file-open dialog of the files to install.
class IPackageFilePicker {
public:
  virtual ~IPackageFilePicker() = default;
  // The chosen files' full paths, or nothing when the user cancels.
  virtual std::optional<std::vector<std::string>> PickPackageFiles(const std::string& title, const std::string& filter) = 0;
};

struct TInstallContext {
  IStatusLine& Status;
  IProgress& Progress;
  IMessageBoxes& Boxes;
  std::function<const TAppliedPrefs&()> Prefs;  // read anew at each use
  // The mutator step, for a code package once it lies in the System folder.
  std::function<void(const std::string& name)> InstallMutator;
  // Asked between two files: true ends the run there, without its end box.
  std::function<bool()> StopRequested;
  // Shows the error of one chosen file in the program's default error box and returns.
  std::function<void(std::exception_ptr error)> ReportError;
  TCopyIo Io = TCopyIo::Standard();
};

// Installs each file in turn: a package (.ut2 .utx .u .ogg .uax .usx .ka .ukx) copied, a .uz2
// restored, a .zip's members of those kinds (whatever folders they stand in) extracted, each into
// the applied folder of its kind with the integration's copy (staged, flushed, then put in place of
// a file of its name); code packages then go through the mutator step. Names from inside a .uz2 or
// an archive count only when they are safe file names. A chosen file whose bytes are not what its
// form demands (EArchiveError) is reported by ReportError, headed by its name, has nothing of it
// installed, and the run goes on with the next file; any other error (the destination cannot be
// written, a chosen file cannot be read) ends the run, the packages before it staying installed.
// The end box counts what was installed and names what was not.
void InstallPackageFiles(TInstallContext& context, const std::vector<std::string>& files);
