#pragma once
// "Open cache": finds the game's cache index, loads it and lists its packages. Three sources, in
// turn: the configured cache folder; the game found where it is installed (game_search.h); the
// user's pick of the file.
#include <functional>
#include <optional>
#include <string>

#include "job/cache_index.h"
#include "job/game_search.h"
#include "job/job_seams.h"

struct TAppliedPrefs;

// The open cache: the index's lines with the file and folder they were read from (every command
// reads payloads from that folder), and the game they belong to.
struct TOpenCache {
  TCacheIndex Index;
  std::string GameRoot;
  // The found game's cache folder, for the default folders; empty when the user picked the index.
  std::string GameCache;
};

// Rebuilds every row of the package list from the loaded index (no rows when none is loaded).
void FillCacheList(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Loads the index at path; one of fewer than two lines is reported in a warning box, "The cache
// is empty.", and leaves no index loaded.
void LoadCacheIndexOrWarn(TCacheIndex& index, const std::string& path, IMessageBoxes& boxes);

// The game and its cache folder where it is installed, or nothing when it is found nowhere.
using TGameFinder = std::function<std::optional<TFoundGame>()>;

// The command's logic. The game's root and cache folder are set by the last two sources only: by
// the found game before the index is loaded, by the user's pick after it has loaded. The errors of
// loading and of the search end the command and reach the caller.
void OpenCache(const TJobSeams& seams, TOpenCache& cache, const TAppliedPrefs& prefs, const TGameFinder& findGame);

// True when an index has been read and the preferences name a cache folder other than its own.
bool CacheFolderMoved(const TOpenCache& cache, const TAppliedPrefs& prefs);
