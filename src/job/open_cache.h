#pragma once
// "Open cache": finds the game's cache index, loads it and lists its packages. Three sources, in
// turn: the configured cache folder; the game found where it is installed (game_search.h); the
// user's pick of the file.
#include <functional>
#include <optional>
#include <string>

#include "job/game_search.h"
#include "job/job_seams.h"

struct TAppliedPrefs;
class TCacheIndex;

// Rebuilds every row of the package list from the loaded index (no rows when none is loaded).
void FillCacheList(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Loads the index at path; one of fewer than two lines is reported in a warning box, "The cache
// is empty.", and leaves no index loaded.
void LoadCacheIndexOrWarn(TCacheIndex& index, const std::string& path, IMessageBoxes& boxes);

// The game and its cache folder where it is installed, or nothing when it is found nowhere.
using TGameFinder = std::function<std::optional<TFoundGame>()>;

// The command's logic. GameRoot and GameCache (the found game's cache folder; empty after a pick)
// are set by the last two sources only: by the found game before the index is loaded, by the
// user's pick after it has loaded. The errors of loading and of the search end the command and
// reach the caller.
void OpenCache(const TJobSeams& seams, TCacheIndex& index, const TAppliedPrefs& prefs, std::string& GameRoot,
               std::string& GameCache, const TGameFinder& findGame);
