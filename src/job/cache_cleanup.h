#pragma once
// A tidy cache: the packages a player removes from it ("Remove from Cache"), and what "Clean Up
// Cache..." finds redundant in it: payload files that no line names, lines whose payload is
// missing, packages installed already in the same version. Also the game's own remedy, its purge
// of cached packages after [Core.System] PurgeCacheDays days, which Clean Up shows and can turn
// off. Nothing in the game folders is ever touched.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "job/job_seams.h"
#include "job/staged_output.h"

struct TAppliedPrefs;
class TCacheIndex;

// The game's purge setting, as its System\UT2004.ini holds it.
struct TPurgeSetting {
  std::string settingsFile;  // the found game's UT2004.ini; empty when the game was found nowhere
  bool known = false;        // the file was found and read: the setting can be shown and changed
  std::optional<int> days;   // PurgeCacheDays; nothing when the file does not set it
};

// What Clean Up finds in the open cache.
struct TCacheSurvey {
  struct TPayloadFile {
    std::string name;  // in the cache folder
    std::uint64_t size = 0;
  };
  std::vector<TPayloadFile> orphans;  // payload files (*.uxx, any letter case) that no line names
  std::uint64_t orphanBytes = 0;
  std::vector<int> missingPayloadLines;  // entry lines whose payload is missing
  std::vector<int> installedLines;       // entry lines of packages installed already in the same version
  std::uint64_t installedBytes = 0;      // their payloads
  // The cache as a whole: its packages (entry lines), their payloads' bytes, the maps among them.
  size_t packages = 0, maps = 0;
  std::uint64_t bytes = 0;
  // Names from the index or the folder that are no safe file names: counted and left alone.
  size_t unsafeNames = 0;
  // What telling the installed versions apart read, in bytes.
  std::uint64_t bytesRead = 0;
  TPurgeSetting purge;
};

// What the Clean Up dialog says of a survey: a count and size for each category (the category
// shown greyed when it is empty), the cache's totals and the purge setting.
struct TSurveyTexts {
  std::string orphans, missingPayloads, installed, totals, purge;
};
TSurveyTexts DescribeSurvey(const TCacheSurvey& survey);

// What the user ticks in the Clean Up dialog.
struct TCleanUpChoice {
  bool orphans = false;
  bool missingPayloads = false;
  bool installed = false;
  bool neverPurge = false;  // write PurgeCacheDays=0 into the game's settings
  bool operator==(const TCleanUpChoice&) const = default;
};

// The Clean Up dialog: shows what the survey found and the purge setting, with a check box for
// each; nothing when the user cancels.
class ICleanUpDialog {
public:
  virtual ~ICleanUpDialog() = default;
  virtual std::optional<TCleanUpChoice> ChooseCleanUp(const TCacheSurvey& survey) = 0;
};

// Called as the survey goes, with how many packages it has looked at of how many; false stops it.
using TSurveyProgress = std::function<bool(size_t done, size_t total)>;

// Looks at the open cache: the cache folder's listing (read once) against the index's lines, and
// the header of each cached package whose name is installed against the installed file's, as the
// run plan tells versions apart. The purge setting is read from settingsFile (empty: unknown).
// False when stopped through progress.
bool SurveyCache(const TCacheIndex& index, const TAppliedPrefs& prefs, const std::string& settingsFile,
                 const TSurveyProgress& progress, TCacheSurvey& survey);

// Drops these lines of the index from its file, as a run saves it (read again first, replaced in
// one step), then deletes the payloads that no line of the saved index names, each named on
// status, when given, as it goes, with the messages handled on a clock through pump, when given.
// Returns the bytes deleted. When the save fails, nothing is deleted, the index in memory is as it
// was and the save's error leaves.
std::uint64_t DropIndexLines(TCacheIndex& index, const std::vector<int>& lines, const TCopyIo& io, IStatusLine* status,
                             IProgress* pump);

// What a command works with to take packages out of the cache.
struct TCacheTidyContext {
  IPackageRows& Rows;
  IStatusLine& Status;
  IProgress& Progress;
  IMessageBoxes& Boxes;
  TCacheIndex& CacheIndex;
  std::function<const TAppliedPrefs&()> Prefs;
  TCopyIo Io = TCopyIo::Standard();
};

// "Remove from Cache": the ticked rows' packages, or with none ticked the row given (-1: none),
// after one confirmation that counts them and their bytes and names at most twenty; Yes drops
// their lines and then their payloads (DropIndexLines), No, Esc and the close box do nothing. A
// line whose key is no safe file name is left alone. The list is rebuilt and the status line says
// what was removed.
void RemoveFromCache(TCacheTidyContext& context, int selectedRow);

// "Clean Up Cache...": the survey, the dialog, then what was ticked: orphan payloads deleted,
// lines dropped as RemoveFromCache drops them, PurgeCacheDays=0 written into the game's settings
// (nothing else of the file changed, replaced in one step). False when the survey was stopped.
bool CleanUpCache(TCacheTidyContext& context, ICleanUpDialog& dialog, const std::string& settingsFile,
                  const TSurveyProgress& progress);

// Writes PurgeCacheDays=0 into the settings file, changing nothing else, through a temporary file
// and a replace in one step.
void KeepCachedPackages(const std::string& settingsFile);
