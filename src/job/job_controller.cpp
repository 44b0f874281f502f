#include "job/job_controller.h"

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "job/cache_tidy_texts.h"
#include "job/export_run.h"
#include "job/folder_listing.h"
#include "job/install_files_run.h"
#include "job/integration_run.h"
#include "job/job_texts.h"
#include "job/mutator_registration.h"
#include "job/needed_packages.h"
#include "job/open_cache.h"
#include "job/package_details.h"
#include "job/package_transfer_texts.h"
#include "win/application.h"
#include "win/launcher.h"

// The window's status line, remembering the running operation's last text so that a refusal note
// shown over it can be taken back when the operation ends.
class TJobController::TGuardedStatus : public IStatusLine {
public:
  explicit TGuardedStatus(IStatusLine& window) : window_(window) {}

  void Begin() {
    text_.clear();
    overwritten_ = false;
  }
  void ShowRefusal(const std::string& note) {
    window_.SetStatusText(note);
    overwritten_ = true;
  }
  void End() {
    if (overwritten_) window_.SetStatusText(text_);
  }

  void SetStatusText(const std::string& text) override {
    text_ = text;
    overwritten_ = false;
    window_.SetStatusText(text);
  }

private:
  IStatusLine& window_;
  std::string text_;
  bool overwritten_ = false;
};

TJobController::TJobController(const TJobSeams& seams, std::function<const TAppliedPrefs&()> prefs,
                               TLauncher& launcher)
    : prefs_(std::move(prefs)),
      launcher_(launcher),
      status_(std::make_unique<TGuardedStatus>(seams.Status)),
      seams_{seams.Rows, *status_, seams.Progress, seams.Boxes, seams.Picker} {}

TJobController::~TJobController() = default;

bool TJobController::Busy() const { return busy_; }

void TJobController::ShowInDefaultErrorBox(std::exception_ptr error) {
  GuardedCall([&error] { std::rethrow_exception(error); });
}

bool TJobController::RefuseWhileBusy() {
  if (!busy_) return false;
  status_->ShowRefusal(JobTexts::BusyRefusal);
  return true;
}

template <typename Body>
void TJobController::RunOperation(Body&& body) {
  busy_ = true;
  status_->Begin();
  try {
    body();
  } catch (...) {
    EndOperation();
    throw;
  }
  EndOperation();
}

void TJobController::EndOperation() {
  status_->End();
  busy_ = false;
  if (closeRequested_) {
    closeRequested_ = false;
    if (OnCloseReady) OnCloseReady();
  }
}

bool TJobController::RequestClose() {
  if (!busy_) return true;
  closeRequested_ = true;
  // The game's tool, if it is running, is left to finish on its own.
  launcher_.AbandonWait();
  return false;
}

bool TJobController::CanShowPreferences() { return !RefuseWhileBusy(); }

void TJobController::tbOpenCacheClick() {
  if (RefuseWhileBusy()) return;
  const TGameSearchPlaces places = GameSearch;
  OpenCache(seams_, openCache_, prefs_(), [&places] { return FindGameFolder(places); });
}

void TJobController::RelistPackages() {
  if (CacheFolderMoved(openCache_, prefs_()))
    tbOpenCacheClick();
  else
    RelistKeepingTicks(seams_.Rows, openCache_.Index, prefs_());
}

void TJobController::tbCopySelectedClick() {
  if (RefuseWhileBusy()) return;
  RunOperation([this] {
    // The close box of the question about needed packages cancels the run before anything is done.
    if (!OfferNeededPackages(seams_.Rows, seams_.Boxes, openCache_.Index, prefs_())) return;
    TTransferContext context = TransferContext();
    IntegrateSelected(context);
  });
}

void TJobController::tbRegisterUninstalledClick() {
  if (RefuseWhileBusy()) return;
  RunOperation([this] {
    RegisterUninstalledMutators(prefs_(), seams_.Boxes, seams_.Status, launcher_, [this] { return closeRequested_; });
  });
}

TTransferContext TJobController::TransferContext() {
  return {seams_.Rows,
          seams_.Status,
          seams_.Progress,
          seams_.Boxes,
          openCache_.Index,
          prefs_,
          [this](const std::string& name) {
            // Once the window is closing, no tool is started any more.
            if (!closeRequested_) InstallMutator(name, prefs_(), seams_.Boxes, seams_.Status, launcher_);
          },
          [this] { return closeRequested_; },
          ReportError,
          CopyIo};
}

void TJobController::SelectAll1Click() {
  const int rowCount = seams_.Rows.RowCount();
  for (int row = 0; row < rowCount; ++row) seams_.Rows.SetRowTicked(row, true);
}

void TJobController::SelectNeeded1Click() {
  if (RefuseWhileBusy()) return;
  seams_.Status.SetStatusText(SelectNeededPackages(seams_.Rows, openCache_.Index, prefs_()));
}

std::optional<std::string> TJobController::Details1Click(int row) {
  if (RefuseWhileBusy() || row < 0 || row >= seams_.Rows.RowCount()) return std::nullopt;
  std::string text = PackageDetailsText(openCache_.Index, prefs_(), seams_.Rows.RowCaption(row));
  if (text.empty()) return std::nullopt;
  return text;
}

void TJobController::Export1Click(IExportDialog& dialog) {
  if (RefuseWhileBusy()) return;
  RunOperation([&] {
    TTransferContext context = TransferContext();
    ExportSelected(context, dialog);
  });
}

void TJobController::InstallFiles1Click(IPackageFilePicker& picker) {
  if (RefuseWhileBusy()) return;
  const auto files = picker.PickPackageFiles(TransferTexts::PickFilesTitle, TransferTexts::PickFilesFilter);
  if (!files) return;
  RunOperation([&] {
    TTransferContext context = TransferContext();
    // The list shows the packages now in their folders as installed, also after an error.
    try {
      InstallPackageFiles(context, *files);
    } catch (...) {
      RelistKeepingTicks(seams_.Rows, openCache_.Index, prefs_());
      throw;
    }
    RelistKeepingTicks(seams_.Rows, openCache_.Index, prefs_());
  });
}

TCacheTidyContext TJobController::TidyContext() {
  return {seams_.Rows, seams_.Status, seams_.Progress, seams_.Boxes, openCache_.Index, prefs_, CopyIo};
}

std::string TJobController::GameSettingsFile() const {
  // A damaged install record leaves the setting unknown here; Open cache reports it.
  try {
    if (const std::optional<TFoundGame> game = FindGameFolder(GameSearch)) return GameSettingsPath(game->Root);
  } catch (const ERegistryException&) {
  }
  return {};
}

void TJobController::RemoveFromCache1Click(int row) {
  if (RefuseWhileBusy()) return;
  RunOperation([&] {
    TCacheTidyContext context = TidyContext();
    RemoveFromCache(context, row);
  });
}

void TJobController::CleanUpCache1Click(ICleanUpDialog& dialog) {
  if (RefuseWhileBusy()) return;
  if (openCache_.Index.CacheDir().empty() && !openCache_.Index.Loaded()) {
    seams_.Boxes.ShowWarning(CacheTidyTexts::OpenTheCacheFirst);
    return;
  }
  RunOperation([&] {
    TCacheTidyContext context = TidyContext();
    TMessageClock messages{0, 40000, {}};
    TDeferredStatus status(seams_.Status, messages);
    const auto progress = [&](size_t done, size_t total) {
      status.Announce(FormatText(CacheTidyTexts::LookingAtCache, std::to_string(done).c_str(), std::to_string(total).c_str()));
      LookAtMessagesOnTime(seams_.Progress, messages);
      return !closeRequested_;
    };
    if (!CleanUpCache(context, dialog, GameSettingsFile(), progress)) seams_.Status.SetStatusText("");
  });
}
