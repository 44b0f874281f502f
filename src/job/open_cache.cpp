#include "job/open_cache.h"

#include "core/applied_prefs.h"
#include "job/cache_index.h"
#include "job/cache_index_texts.h"
#include "job/folder_listing.h"
#include "job/job_texts.h"
#include "win/files.h"

namespace {
constexpr const char* IndexFileName = "cache.ini";
constexpr const char* ParentFolder = "..\\";
}  // namespace

void FillCacheList(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  rows.ReplaceRows(RebuildListingRows(index, prefs));
}

void LoadCacheIndexOrWarn(TCacheIndex& index, const std::string& path, IMessageBoxes& boxes) {
  if (index.LoadCacheIndex(path) == TIndexLoad::Empty) boxes.ShowWarning(CacheEmptyText);
}

void OpenCache(const TJobSeams& seams, TCacheIndex& index, const TAppliedPrefs& prefs, std::string& GameRoot,
               std::string& GameCache, const TGameFinder& findGame) {
  if (!prefs.CachePath.empty()) {
    LoadCacheIndexOrWarn(index, prefs.CachePath + IndexFileName, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    return;
  }
  if (const std::optional<TFoundGame> game = findGame()) {
    GameRoot = game->Root;
    GameCache = game->CacheFolder;
    LoadCacheIndexOrWarn(index, game->CacheFolder + IndexFileName, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    seams.Status.SetStatusText(JobTexts::CacheOpened);
    return;
  }
  const std::optional<std::string> picked =
      seams.Picker.PickCacheIndexFile(JobTexts::OpenCacheDialogTitle, JobTexts::OpenCacheDialogFilter);
  if (!picked) return;
  LoadCacheIndexOrWarn(index, *picked, seams.Boxes);
  GameRoot = FolderOf(*picked) + ParentFolder;
  GameCache.clear();
  FillCacheList(seams.Rows, index, prefs);
  seams.Status.SetStatusText(JobTexts::CacheOpened);
}
