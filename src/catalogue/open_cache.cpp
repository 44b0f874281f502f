#include "catalogue/open_cache.h"

#include "catalogue/cache_index.h"
#include "catalogue/folder_listing.h"
#include "catalogue/file_helpers.h"
#include "integration/integration_texts.h"
#include "prefs/applied_prefs.h"
#include "ui/main_view.h"

namespace {
constexpr const char* IndexFileName = "cache.ini";
constexpr const char* IndexBelowInstallFolder = "cache\\cache.ini";
constexpr const char* ParentFolder = "..\\";
}  // namespace

void FillCacheList(IMainView& view, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  view.ReplaceRows(RebuildListingRows(index, prefs));
}

void OpenCache(IMainView& view, TCacheIndex& index, const TAppliedPrefs& prefs, std::string& GameRoot,
               const TInstallFolderReader& readInstallFolder) {
  if (!prefs.CachePath.empty()) {
    index.LoadCacheIndex(prefs.CachePath + IndexFileName);
    FillCacheList(view, index, prefs);
    return;
  }
  if (const std::optional<std::string> folder = readInstallFolder()) {
    const std::string root = AddTrailingBackslash(*folder);
    GameRoot = root;
    index.LoadCacheIndex(root + IndexBelowInstallFolder);
    FillCacheList(view, index, prefs);
    view.SetStatusText(IntegrationTexts::CacheOpened);
    return;
  }
  const std::optional<std::string> picked =
      view.PickCacheIndexFile(IntegrationTexts::OpenCacheDialogTitle, IntegrationTexts::OpenCacheDialogFilter);
  if (!picked) return;
  index.LoadCacheIndex(*picked);
  GameRoot = FolderOf(*picked) + ParentFolder;
  FillCacheList(view, index, prefs);
  view.SetStatusText(IntegrationTexts::CacheOpened);
}
