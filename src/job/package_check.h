#pragma once
// What the packages of the open cache need, read from the headers of their payloads and looked up
// in the game folders and the cache. A check reads each game folder's listing once and only the
// headers it is asked about, each only as far as its header and its two tables; opening the cache
// reads none.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/applied_prefs.h"
#include "core/package_header.h"
#include "core/package_needs.h"
#include "job/cache_index.h"
#include "job/folder_listing.h"

// A payload's header as read, and the payload's size.
struct TPayloadReading {
  std::string failure;  // why it could not be read as a package; empty when it was
  bool opened = false;  // false when the payload is missing, cannot be opened or has no safe name
  std::int64_t size = -1;  // as the list gives it: -1 when there is no payload
  TPackageHeader header;
};

// One check over the index and the game folders as they are when it is made.
class TPackageCheck {
public:
  TPackageCheck(const TCacheIndex& index, const TAppliedPrefs& prefs);

  // Where the game finds the package of a name without extension: installed when a file of that
  // name with a package extension lies in one of the eight game folders (letter case ignored, as
  // the file system ignores it); in the cache when an entry line of the index, the first such,
  // names a package of that name with a safe key and its payload reads as a package (its header is
  // read for it); else missing.
  TPackageLocation Locate(const std::string& name);
  // The real file name of the cached package Locate finds for a name; empty when there is none.
  std::string CachedName(const std::string& name) const;
  // The header of the payload of a key of the index; a key that is no safe name is not read.
  TPayloadReading ReadPayload(const std::string& key);
  // The needs of the packages of these real file names, followed through the cache; a name that
  // no entry line of the index holds, or that is of no package kind, is left out.
  TPackageNeeds NeedsOf(const std::vector<std::string>& realNames);
  // What the payload reads so far have read, in bytes.
  std::uint64_t BytesRead() const { return bytesRead_; }

private:
  struct TCachedEntry {
    std::string key, realName;
  };
  TNeedsReader NeedsReaderOf(const std::string& key);

  const TCacheIndex& index_;
  std::vector<std::string> folders_;
  TFolderListings listings_;
  std::unordered_map<std::string, TCachedEntry> cached_;  // by upper-cased name without extension
  std::uint64_t bytesRead_ = 0;
};

// The real file name without its extension: the name the game knows a package by.
std::string PackageNameOf(const std::string& realName);
