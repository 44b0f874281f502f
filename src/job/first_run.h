#pragma once
// The preferences at start-up, and the first run's set-up when none are stored yet.
#include <optional>
#include <string>

#include "job/game_search.h"
#include "job/message_boxes.h"

class TPreferences;

// What the preferences need of the main window: its Open cache and what it found.
class IPrefsHost {
public:
  virtual ~IPrefsHost() = default;
  // The main window's Open cache command, with all its effects (tbOpenCacheClick).
  virtual void OpenCache() = 0;
  // The game's root folder as Open cache left it: ending in "\" when found, else as it was.
  virtual std::string GameRoot() const = 0;
  // The cache folder of the game Open cache found (its settings may move it away from the root's
  // Cache\); empty when it found none or the user picked the index.
  virtual std::string GameCacheFolder() const = 0;
  // Lists the loaded index's packages again against the applied folders (the first run applies
  // its default folders only after its Open cache has listed them, and Save applies new ones),
  // or opens the list again where they name another cache folder than the open index's.
  virtual void RelistPackages() = 0;
  // Looks for the game as Open cache does when no cache folder is set (FindGameFolder), and only
  // looks.
  virtual std::optional<TFoundGame> FindGame() const = 0;
};

// "Default paths": Open cache finds the game, and the nine folders below its root fill the
// editable preferences, the cache folder being the one the found game uses. With a cache folder
// set, Open cache reads it without looking for the game, so the game is looked for here as Open
// cache would: the folders are the game's in every run, not only in the run that found it. Only
// a game found nowhere, and no index picked, leaves bare folder names.
void FillDefaultPathsFromGame(TPreferences& prefs, IPrefsHost& host);

// Loads the stored preferences. With none stored, the first run: default folders from the game,
// stored and applied at once, the packages already in those folders listed as such, and the user
// told so.
void LoadPrefsOrSetUpFirstRun(TPreferences& prefs, IPrefsHost& host, IMessageBoxes& boxes);
