#include "job/folder_listing.h"

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "win/files.h"

namespace {

// True for a name that the folder's listing answers exactly as a lookup by name would: plain
// ASCII without wildcards (including the dotted ones the file system knows: < > "), separators,
// the '~' of generated short names, and without the trailing dot or space a lookup would strip.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte >= 128) return false;
    if (std::string_view("*?<>\"\\/:~|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// A listed name the code page may have spelled with its replacement character or a look-alike.
bool MayStandForAnotherName(std::string_view name) {
  for (const char c : name)
    if (c == '?' || static_cast<unsigned char>(c) >= 128) return true;
  return false;
}

// One enumeration of a folder. The file system compares names without regard to the case of
// a..z; a name it may hold twice in different cases (possible where the files live on a
// case-sensitive disk) or a folder whose listing shows names the code page cannot spell has no
// exact answer here.
}  // namespace

struct TListedEntry {
  uint32_t Attr = 0;
  int64_t Size = 0;
  int Matches = 0;  // entries of the folder that share this upper-cased name
};

class TFolderListing {
public:
  explicit TFolderListing(const std::string& folder) {
    WIN32_FIND_DATAA data;
    TFindHandle search(::FindFirstFileA((folder + "*").c_str(), &data));
    if (!search) {
      const DWORD error = ::GetLastError();
      // No entries at all, or no such folder: a lookup of any name in it finds nothing either.
      complete_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
      return;
    }
    do {
      const std::string_view name = data.cFileName;
      if (MayStandForAnotherName(name)) unclearNames_ = true;
      TListedEntry& entry = entries_[UpperCaseAscii(name)];
      if (entry.Matches++ == 0) {
        entry.Attr = data.dwFileAttributes;
        entry.Size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
      }
    } while (::FindNextFileA(search.Get(), &data));
    complete_ = ::GetLastError() == ERROR_NO_MORE_FILES;
  }

  // The entry a lookup of name would find; nullptr when it would find none; nothing when only a
  // lookup by name can tell.
  std::optional<const TListedEntry*> Find(std::string_view name) const {
    if (!complete_ || !IsPlainName(name)) return std::nullopt;
    const auto found = entries_.find(UpperCaseAscii(name));
    if (found == entries_.end()) return unclearNames_ ? std::nullopt : std::optional<const TListedEntry*>(nullptr);
    if (found->second.Matches > 1) return std::nullopt;
    return &found->second;
  }

private:
  std::unordered_map<std::string, TListedEntry> entries_;
  bool complete_ = false;
  bool unclearNames_ = false;
};

TFolderListings::TFolderListings() = default;
TFolderListings::~TFolderListings() = default;

int64_t TFolderListings::SizeOf(const std::string& folder, const std::string& name) {
  const std::string path = folder + name;
  const auto entry = Find(path, name);
  if (!entry) return FileSizeOf(path);
  return *entry ? (*entry)->Size : -1;
}

bool TFolderListings::IsFilePresent(const std::string& folder, const std::string& name) {
  const std::string path = folder + name;
  const auto entry = Find(path, name);
  if (!entry) return ::IsFilePresent(path);
  return *entry && !((*entry)->Attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool TFolderListings::IsSurelyAbsent(const std::string& folder, const std::string& name) {
  const auto entry = Find(folder + name, name);
  return entry && !*entry;
}

std::optional<const TListedEntry*> TFolderListings::Find(const std::string& path, const std::string& name) {
  if (path.size() >= MAX_PATH || !IsPlainName(name)) return std::nullopt;
  // The folder as the path names it: a one- or two-character folder preference without a
  // trailing '\' becomes part of the file name.
  const std::string folder = FolderOf(path);
  auto& listing = listings_[folder];
  if (!listing) listing = std::make_unique<TFolderListing>(folder);
  return listing->Find(std::string_view(path).substr(folder.size()));
}

std::vector<TListingRow> RebuildListingRows(const TCacheIndex& index, const TAppliedPrefs& prefs) {
  if (!index.Loaded()) return {};
  TFolderListings listings;
  // Names from the index that are no plain file names are never looked up: a payload outside
  // the cache folder has no size here, and a package outside the game folders is not installed.
  const auto payloadSize = [&](const std::string& key) -> int64_t {
    return IsSafeCacheKey(key, index.CacheDir(), SystemLeadByte)
               ? listings.SizeOf(index.CacheDir(), key + PayloadExtension)
               : -1;
  };
  const auto installedSize = [&](const std::string& name) -> std::optional<int64_t> {
    const TPackageKind kind = GetPackageKind(name);
    const std::string folder = GetDestinationFolder(kind, prefs);
    if (kind == pkOther || !IsSafeFileName(name, folder, SystemLeadByte) || !listings.IsFilePresent(folder, name))
      return std::nullopt;
    return listings.SizeOf(folder, name);
  };
  return BuildListingRows(index.CacheList(), payloadSize, installedSize, SystemDecimalSeparator(), SystemLeadByte);
}

void RelistKeepingTicks(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  std::unordered_set<std::string> ticked;
  for (int row = 0; row < rows.RowCount(); ++row)
    if (rows.RowTicked(row)) ticked.insert(rows.RowCaption(row));
  std::vector<TListingRow> listed = RebuildListingRows(index, prefs);
  for (TListingRow& row : listed) row.Ticked = ticked.count(row.Caption) > 0;
  rows.ReplaceRows(std::move(listed));
}

std::optional<int64_t> InstalledSize(const std::string& name, const TAppliedPrefs& prefs) {
  const TPackageKind kind = GetPackageKind(name);
  const std::string folder = GetDestinationFolder(kind, prefs);
  if (kind == pkOther || !IsSafeFileName(name, folder, SystemLeadByte) || !IsFilePresent(folder + name))
    return std::nullopt;
  return FileSizeOf(folder + name);
}
