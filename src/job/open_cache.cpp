#include "job/open_cache.h"

#include "core/applied_prefs.h"
#include "core/text_rules.h"
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

void OpenCache(const TJobSeams& seams, TOpenCache& cache, const TAppliedPrefs& prefs, const TGameFinder& findGame) {
  TCacheIndex& index = cache.Index;
  if (!prefs.CachePath.empty()) {
    LoadCacheIndexOrWarn(index, prefs.CachePath + IndexFileName, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    return;
  }
  if (const std::optional<TFoundGame> game = findGame()) {
    cache.GameRoot = game->Root;
    cache.GameCache = game->CacheFolder;
    LoadCacheIndexOrWarn(index, game->CacheFolder + IndexFileName, seams.Boxes);
    FillCacheList(seams.Rows, index, prefs);
    seams.Status.SetStatusText(JobTexts::CacheOpened);
    return;
  }
  const std::optional<std::string> picked =
      seams.Picker.PickCacheIndexFile(JobTexts::OpenCacheDialogTitle, JobTexts::OpenCacheDialogFilter);
  if (!picked) return;
  LoadCacheIndexOrWarn(index, *picked, seams.Boxes);
  cache.GameRoot = FolderOf(*picked) + ParentFolder;
  cache.GameCache.clear();
  FillCacheList(seams.Rows, index, prefs);
  seams.Status.SetStatusText(JobTexts::CacheOpened);
}

bool CacheFolderMoved(const TOpenCache& cache, const TAppliedPrefs& prefs) {
  const std::string& readFrom = cache.Index.CacheDir();
  if (readFrom.empty() || prefs.CachePath.empty()) return false;
  return ::lstrcmpiA(AddTrailingBackslash(FullPathOf(prefs.CachePath)).c_str(),
                     AddTrailingBackslash(FullPathOf(readFrom)).c_str()) != 0;
}
