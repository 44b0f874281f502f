#pragma once
// What a transfer will do, decided before the first byte is written: every file that Integrate
// selected, Install package files or Export selected would write, where it comes from, where it
// goes and whether it goes at all. The plan is the one place that looks at every target first:
// two files for one target, an installed package of the same name, the game's own code packages
// and empty files are found here, and the user is asked once about versions that would replace
// installed ones.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/package_identity.h"
#include "core/package_kinds.h"
#include "job/message_boxes.h"

struct TAppliedPrefs;
class TCacheIndex;
class TStagingFolders;
class TZipReader;
class TFileSource;

// Where a file's bytes come from.
enum class TSourceForm {
  File,           // a file copied as it is: a cached payload, a chosen package file
  Uz2File,        // a .uz2 file, restored
  ArchiveMember,  // a member of a zip archive, extracted
  Uz2OfFile,      // a file compressed into a .uz2 (an export for a redirect server)
};

enum class TTransferOutcome {
  Write,             // written, in place of nothing or of a file the game has no use for any more
  Replace,           // written in place of another installed version, which is kept aside first
  AlreadyInPlace,    // nothing written: the same version is there already
  CaseTwin,          // passed over: an earlier file goes to the same target, letter case ignored
  StockPackage,      // passed over: one of the game's own code packages
  Empty,             // passed over: an empty file is a failed download, no package
  OtherVersionKept,  // passed over: another version is installed and the user kept it
};

// The versions of a conflict, for the question and the kept place.
struct TVersionConflict {
  bool installedRead = false;  // false when the installed file could not be read
  bool incomingRead = false;   // false when the new one could not be, which its writing will report
  TFileVersion installed, incoming;
  std::uint64_t bytesRead = 0;  // what telling them apart read of both files
};

struct TTransferItem {
  std::string name;    // the package's real file name, as shown
  std::string target;  // the file written; in an archive written, the member's path
  TPackageKind kind = pkOther;
  TSourceForm form = TSourceForm::File;
  std::string source;  // the file read: a payload, a chosen file, an archive
  size_t member = 0;   // ArchiveMember: its place in the archive
  int line = -1;       // a cached package: its line in the index
  TTransferOutcome outcome = TTransferOutcome::Write;
  TVersionConflict conflict;  // Replace and OtherVersionKept
  std::string keptAt;         // Replace: where the former version was put, once it was
};

// A zip archive being installed, open for the whole run so that nobody changes it meanwhile.
struct TOpenArchive {
  explicit TOpenArchive(const std::string& path);
  ~TOpenArchive();
  std::unique_ptr<TFileSource> file;
  std::unique_ptr<TZipReader> reader;
};

// Files that take their places together: one archive's members, or one file on its own.
struct TTransferGroup {
  std::string chosenFile;             // the chosen file it comes from (an install), for its errors
  std::exception_ptr refusal;         // the chosen file's bytes are not what its form demands
  std::shared_ptr<TOpenArchive> archive;  // ArchiveMember: the archive
  std::string archiveTarget;          // when set, the items are written as members of this archive
  std::vector<TTransferItem> items;
};

using TTransferPlan = std::vector<TTransferGroup>;

// The transfer of the cached package of the index's line into the game folder of its kind, read
// from the folder the index was read from: false for a package of unknown kind, and for a name or
// key that would lead anywhere but one file in the folder it belongs in (cache.ini may come from a
// downloaded cache pack).
bool PlanCachedPackage(const TCacheIndex& index, const TAppliedPrefs& prefs, int line, TTransferItem& item);

// Passes over every file whose target an earlier file of the plan already has, letter case
// ignored as the file system ignores it: of two files for one target only the first goes.
void PassOverCaseTwins(TTransferPlan& plan);

// The rules of a target in the game's folders: an empty file, and a file of the game's own code
// packages, are passed over; a target that exists already is looked at: the same version makes
// the file AlreadyInPlace, another version is Replace until the user says otherwise (see
// AskAboutConflicts). An error of a chosen file found while it is read becomes its group's
// refusal. keepGoing, when given, is asked before each file with how many files were looked at of
// how many; false ends the look there (and the function gives false).
using TPlanProgress = std::function<bool(size_t done, size_t total)>;
bool ReviewGameFolderTargets(TTransferPlan& plan, TStagingFolders& staging, const TPlanProgress& keepGoing = {});

// Asks once, in one confirmation box, whether the files that would replace another installed
// version may (incomingWord names the new versions: "cached", "new"). Yes leaves them to replace
// it, No passes them over; false when the box was closed by its close box, which cancels the
// command. Nothing is asked when nothing conflicts.
bool AskAboutConflicts(TTransferPlan& plan, IMessageBoxes& boxes, const char* incomingWord);

// The names of the items with this outcome, in plan order.
std::vector<std::string> NamesWith(const TTransferPlan& plan, TTransferOutcome outcome);
