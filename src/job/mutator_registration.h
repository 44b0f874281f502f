#pragma once
// Registering code packages with the game: its command-line tool, run hidden with "exportcache"
// and the package's file name in the System folder, leaves a ".ucl" file of the package's base
// name there.
#include <functional>
#include <string>

#include "job/job_seams.h"

struct TAppliedPrefs;
class TLauncher;

// The launcher settings the main window gives its launcher: verb "Open", hidden, no time limit,
// waiting while the window's messages are handled.
void ConfigureGameToolLauncher(TLauncher& launcher);

// Runs the game's tool for one package file of the System folder and returns when it has ended
// (or could not be started, which is not reported).
void RunGameTool(const std::string& packageFile, const TAppliedPrefs& prefs, TLauncher& launcher);

// The step of the integration run for a code package just copied into the System folder:
// governed by AutoRegMutators and PromptMutReg.
void InstallMutator(const std::string& Name, const TAppliedPrefs& prefs, IMessageBoxes& boxes, IStatusLine& status, TLauncher& launcher);

// "Register uninstalled mutators": after the user's consent, runs the tool for every entry of the
// System folder matching "*.u" that is no stock package and has no ".ucl" file yet. Ends early,
// between two packages, once stopRequested answers true.
void RegisterUninstalledMutators(const TAppliedPrefs& prefs, IMessageBoxes& boxes, IStatusLine& status, TLauncher& launcher,
                                 const std::function<bool()>& stopRequested);
