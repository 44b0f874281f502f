#include "job/open_cache.h"

#include "job/cache_index.h"
#include "job/cache_index_texts.h"
#include "job/folder_listing.h"
#include "win/files.h"
#include "job/job_texts.h"
#include "core/applied_prefs.h"

namespace {
constexpr const char* IndexFileName = "cache.ini";
constexpr const char* IndexBelowInstallFolder = "cache\\cache.ini";
constexpr const char* ParentFolder = "..\\";
}  // namespace

void FillCacheList(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  rows.ReplaceRows(RebuildListingRows(index, prefs));
}

void LoadCacheIndexOrWarn(TCacheIndex& index, const std::string& path, IMessageBoxes& boxes) {
  if (index.LoadCacheIndex(path) == TIndexLoad::Empty) boxes.ShowWarning(CacheEmptyText);
}

void OpenCache(const TJobSeams& seams, TCacheIndex& index, const TAppliedPrefs& prefs, std::string& GameRoot,
               const TInstallFolderReader& readInstallFolder) {
  if (!prefs.CachePath.empty()) {
    LoadCacheIndexOrWarn(index, prefs.CachePath + IndexFileName, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    return;
  }
  if (const std::optional<std::string> folder = readInstallFolder()) {
    const std::string root = AddTrailingBackslash(*folder);
    GameRoot = root;
    LoadCacheIndexOrWarn(index, root + IndexBelowInstallFolder, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    seams.Status.SetStatusText(IntegrationTexts::CacheOpened);
    return;
  }
  const std::optional<std::string> picked =
      seams.Picker.PickCacheIndexFile(IntegrationTexts::OpenCacheDialogTitle, IntegrationTexts::OpenCacheDialogFilter);
  if (!picked) return;
  LoadCacheIndexOrWarn(index, *picked, seams.Boxes);
  GameRoot = FolderOf(*picked) + ParentFolder;
  FillCacheList(seams.Rows, index, prefs);
  seams.Status.SetStatusText(IntegrationTexts::CacheOpened);
}
