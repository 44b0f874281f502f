#pragma once
// Installing package files the user picks: loose packages, their .uz2 forms and zip archives laid
// out like the game, each package into its kind's game folder. The chosen files are only read.
#include <optional>
#include <string>
#include <vector>

#include "job/transfer_run.h"

// The file-open dialog of the files to install.
class IPackageFilePicker {
public:
  virtual ~IPackageFilePicker() = default;
  // The chosen files' full paths, or nothing when the user cancels.
  virtual std::optional<std::vector<std::string>> PickPackageFiles(const std::string& title, const std::string& filter) = 0;
};

// Installs each file in turn: a package (.ut2 .utx .u .ogg .uax .usx .ka .ukx) copied, a .uz2
// restored, a .zip's members of those kinds (whatever folders they stand in) extracted, each into
// the applied folder of its kind with the integration's care (staged, flushed, then put in place);
// code packages then go through the mutator step. Names from inside a .uz2 or an archive count only
// when they are safe file names. Before anything is written the plan looks at every target, as the
// integration's does: of two files for one target the first goes, empty files and the game's own
// code packages are passed over, a package installed in the same version counts as in place, and
// the user is asked once whether other installed versions may be replaced (each replaced one is
// kept aside; the close box cancels the install). A chosen file whose bytes are not what its form
// demands (EArchiveError) is reported by ReportError, headed by its name, has nothing of it
// installed, and the run goes on with the next file; any other error (the destination cannot be
// written, a chosen file cannot be read) ends the run, the packages before it staying installed.
// The end box counts what was installed and names what was not.
void InstallPackageFiles(TTransferContext& context, const std::vector<std::string>& files);
