#include "job/first_run.h"

#include "core/preferences.h"
#include "job/job_texts.h"

void FillDefaultPathsFromGame(TPreferences& prefs, IPrefsHost& host) {
  host.OpenCache();
  TFoundGame game{host.GameRoot(), host.GameCacheFolder()};
  if (game.Root.empty()) game = host.FindGame().value_or(game);
  FillDefaultPaths(prefs.Editable, game.Root);
  const std::string& cacheFolder = game.CacheFolder;
  if (cacheFolder.empty()) return;
  for (size_t i = 0; i < FolderPrefs.size(); ++i)
    if (FolderPrefs[i].Applied == &TAppliedPrefs::CachePath) prefs.Editable.FolderTexts[i] = cacheFolder;
}

void LoadPrefsOrSetUpFirstRun(TPreferences& prefs, IPrefsHost& host, IMessageBoxes& boxes) {
  if (prefs.LoadPrefs()) return;
  FillDefaultPathsFromGame(prefs, host);
  prefs.SavePrefs();
  (void)prefs.LoadPrefs();  // the values just stored
  host.RelistPackages();
  boxes.ShowInformation(JobTexts::FirstRun);
}
