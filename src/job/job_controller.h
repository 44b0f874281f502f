#pragma once
// The main window's commands, callable without a window: the window routes its buttons and menu
// items here and implements the seams of job_seams.h for them.
//
// Two operations hand control back to the window while they run: the integration run (between
// chunks of a copy, and while the game's tool runs) and the mutator registrations (while the tool
// runs). Meanwhile the commands that would change what they walk or read (Open cache, Integrate
// selected, Register uninstalled mutators, Preferences) are refused with a note on the status
// line; ticking rows and Select All stay possible. A close request waits for the operation: the
// file in hand is finished, the index brought up to date, the tool left running, and then the
// window's close callback runs.
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "job/cache_cleanup.h"
#include "job/copy_file.h"
#include "job/transfer_run.h"
#include "job/game_search.h"
#include "job/job_seams.h"
#include "job/open_cache.h"

struct TAppliedPrefs;
class TLauncher;
class IExportDialog;
class IPackageFilePicker;
class ICleanUpDialog;

class TJobController {
public:
  TJobController(const TJobSeams& seams, std::function<const TAppliedPrefs&()> prefs, TLauncher& launcher);
  ~TJobController();
  TJobController(const TJobController&) = delete;
  TJobController& operator=(const TJobController&) = delete;

  void tbOpenCacheClick();
  void tbCopySelectedClick();
  void tbRegisterUninstalledClick();
  void SelectAll1Click();
  // The context menu's package commands; refused while an operation runs, as they read payloads.
  void SelectNeeded1Click();
  // The details text of the row's package (see PackageDetailsText); nothing when refused or when
  // no entry line names the row's package.
  std::optional<std::string> Details1Click(int row);
  // Actions > "Export selected..." and File > "Install package files...", guarded like the run.
  void Export1Click(IExportDialog& dialog);
  void InstallFiles1Click(IPackageFilePicker& picker);
  // "Remove from Cache" (the ticked rows, or the row given when none is ticked) and "Clean Up
  // Cache...", guarded like the run; Clean Up's survey shows its progress on the status line and
  // ends early for a close request.
  void RemoveFromCache1Click(int row);
  void CleanUpCache1Click(ICleanUpDialog& dialog);

  // True while an integration run, a registration, an export or an install is in progress.
  bool Busy() const;
  // The window asks before it closes: true means close now; false means the window closes when
  // OnCloseReady is called, at the end of the running operation.
  bool RequestClose();
  // Asked before the preferences dialog is shown; false (with a note on the status line) while
  // an operation runs.
  bool CanShowPreferences();
  std::function<void()> OnCloseReady;
  // Shows an error that the command goes on after (a run's own error when the index save that
  // follows it fails too); the application's default error box unless a test replaces it.
  std::function<void(std::exception_ptr error)> ReportError = ShowInDefaultErrorBox;

  const TOpenCache& OpenedCache() const { return openCache_; }
  // After the preferences are saved: the list opened again when they name another cache folder
  // than the open index's, else its rows listed again, as the new game folders show them.
  void RelistPackages();
  // Where the game is looked for; a test points it at places of its own.
  TGameSearchPlaces GameSearch = TGameSearchPlaces::Standard();
  // The file operations of the copies; a test replaces them to simulate a full disk.
  TCopyIo CopyIo = TCopyIo::Standard();

private:
  class TGuardedStatus;

  static void ShowInDefaultErrorBox(std::exception_ptr error);

  bool RefuseWhileBusy();
  // What the commands that write package files work with, and those that take packages out of
  // the cache.
  TTransferContext TransferContext();
  TCacheTidyContext TidyContext();
  // The settings file of the game where it is installed; empty when it is found nowhere.
  std::string GameSettingsFile() const;
  template <typename Body> void RunOperation(Body&& body);
  void EndOperation();

  std::function<const TAppliedPrefs&()> prefs_;
  TLauncher& launcher_;
  // The status line as the running operation sees it: its text is kept, so that it can be put
  // back after a refusal note was shown over it.
  std::unique_ptr<TGuardedStatus> status_;
  // The window's seams, with the guarded status line in place of the window's own.
  TJobSeams seams_;
  TOpenCache openCache_;
  bool busy_ = false;
  bool closeRequested_ = false;
};
