#pragma once
// The list rows for the real file system. Looking each payload up by name is ruinous in a big
// cache folder (the emulated file system scans the whole folder for every missing name), so the
// rebuild reads each folder it needs once and answers from that listing; a name the listing
// cannot answer exactly as the per-name lookup would is looked up by name after all.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/applied_prefs.h"
#include "core/listing_rows.h"
#include "job/cache_index.h"
#include "job/job_seams.h"

struct TListedEntry;
class TFolderListing;

// The listings of the folders asked about so far, each read once, on first need. Each answer
// equals that of a lookup by name; a name the listing cannot answer exactly is looked up by name.
class TFolderListings {
public:
  TFolderListings();
  ~TFolderListings();
  TFolderListings(const TFolderListings&) = delete;
  TFolderListings& operator=(const TFolderListings&) = delete;

  // FileSizeOf(folder + name).
  int64_t SizeOf(const std::string& folder, const std::string& name);
  // IsFilePresent(folder + name).
  bool IsFilePresent(const std::string& folder, const std::string& name);
  // True when the folder's listing shows that no entry of any kind answers to name; false when
  // one does or only a lookup by name could tell.
  bool IsSurelyAbsent(const std::string& folder, const std::string& name);

private:
  std::optional<const TListedEntry*> Find(const std::string& path, const std::string& name);

  std::map<std::string, std::unique_ptr<TFolderListing>> listings_;
};

// The rows of the loaded index (none when no index is loaded). Sizes are those of CacheDir + key
// + ".uxx" (-1 for a key that is no safe file name); a row's bulb follows InstalledSize(name,
// prefs). Results equal one FileSizeOf and one InstalledSize per row.
std::vector<TListingRow> RebuildListingRows(const TCacheIndex& index, const TAppliedPrefs& prefs);

// Lists the loaded index's rows again (after packages went into their folders, or the folders
// changed), each ticked when a row of its real file name was.
void RelistKeepingTicks(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// The size of the file of name in the destination folder of its kind; nothing when none lies
// there, for pkOther and for a name that is no safe file name there.
std::optional<int64_t> InstalledSize(const std::string& name, const TAppliedPrefs& prefs);
