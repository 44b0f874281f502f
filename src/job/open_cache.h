#pragma once
// "Open cache": finds the game's cache index, loads it and lists its packages. Three sources, in
// turn: the configured cache folder; the game's install record; the user's pick of the file.
#include <functional>
#include <optional>
#include <string>

#include "job/job_seams.h"

struct TAppliedPrefs;
class TCacheIndex;

// Rebuilds every row of the package list from the loaded index (no rows when none is loaded).
void FillCacheList(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Loads the index at path; one of fewer than two lines is reported in a warning box, "The cache
// is empty.", and leaves no index loaded.
void LoadCacheIndexOrWarn(TCacheIndex& index, const std::string& path, IMessageBoxes& boxes);

// The game's install folder from its install record, or nothing when the record cannot be opened.
using TInstallFolderReader = std::function<std::optional<std::string>()>;

// The command's logic. GameRoot is set by the last two sources only: by the install record before
// the index is loaded, by the user's pick after it has loaded. The errors of loading and of
// reading the install record end the command and reach the caller.
void OpenCache(const TJobSeams& seams, TCacheIndex& index, const TAppliedPrefs& prefs, std::string& GameRoot,
               const TInstallFolderReader& readInstallFolder);
