#include "ui/main_commands.h"

#include "catalogue/open_cache.h"
#include "framework/application.h"
#include "integration/integration_run.h"
#include "integration/integration_texts.h"
#include "integration/launcher.h"
#include "integration/mutator_registration.h"
#include "prefs/applied_prefs.h"

class TMainCommands::TOperationView : public IMainView {
public:
  explicit TOperationView(IMainView& window) : window_(window) {}

  void Begin() {
    status_.clear();
    overwritten_ = false;
  }
  void ShowRefusal(const std::string& note) {
    window_.SetStatusText(note);
    overwritten_ = true;
  }
  void End() {
    if (overwritten_) window_.SetStatusText(status_);
  }

  void SetStatusText(const std::string& text) override {
    status_ = text;
    overwritten_ = false;
    window_.SetStatusText(text);
  }
  void ShowWarning(const std::string& text) override { window_.ShowWarning(text); }
  TModalResult AskWarning(const std::string& text) override { return window_.AskWarning(text); }
  TModalResult AskConfirmation(const std::string& text) override { return window_.AskConfirmation(text); }
  void ShowInformation(const std::string& text) override { window_.ShowInformation(text); }
  void SetProgressVisible(bool visible) override { window_.SetProgressVisible(visible); }
  void SetProgressRange(int maximum) override { window_.SetProgressRange(maximum); }
  void SetProgressPosition(int position) override { window_.SetProgressPosition(position); }
  int RowCount() const override { return window_.RowCount(); }
  std::string RowCaption(int row) const override { return window_.RowCaption(row); }
  bool RowTicked(int row) const override { return window_.RowTicked(row); }
  void SetRowTicked(int row, bool ticked) override { window_.SetRowTicked(row, ticked); }
  void ReplaceRows(std::vector<TListingRow> rows) override { window_.ReplaceRows(std::move(rows)); }
  std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) override {
    return window_.PickCacheIndexFile(title, filter);
  }
  void ProcessPendingMessages() override { window_.ProcessPendingMessages(); }

private:
  IMainView& window_;
  std::string status_;
  bool overwritten_ = false;
};

TMainCommands::TMainCommands(IMainView& view, std::function<const TAppliedPrefs&()> prefs, TLauncher& launcher)
    : CacheIndex(view),
      view_(view),
      prefs_(std::move(prefs)),
      launcher_(launcher),
      operationView_(std::make_unique<TOperationView>(view)) {}

TMainCommands::~TMainCommands() = default;

bool TMainCommands::Busy() const { return busy_; }

void TMainCommands::ShowInDefaultErrorBox(std::exception_ptr error) {
  GuardedCall([&error] { std::rethrow_exception(error); });
}

bool TMainCommands::RefuseWhileBusy() {
  if (!busy_) return false;
  operationView_->ShowRefusal(IntegrationTexts::BusyRefusal);
  return true;
}

template <typename Body>
void TMainCommands::RunOperation(Body&& body) {
  busy_ = true;
  operationView_->Begin();
  try {
    body();
  } catch (...) {
    EndOperation();
    throw;
  }
  EndOperation();
}

void TMainCommands::EndOperation() {
  operationView_->End();
  busy_ = false;
  if (closeRequested_) {
    closeRequested_ = false;
    if (OnCloseReady) OnCloseReady();
  }
}

bool TMainCommands::RequestClose() {
  if (!busy_) return true;
  closeRequested_ = true;
  // The game's tool, if it is running, is left to finish on its own.
  launcher_.AbandonWait();
  return false;
}

bool TMainCommands::CanShowPreferences() { return !RefuseWhileBusy(); }

void TMainCommands::tbOpenCacheClick() {
  if (RefuseWhileBusy()) return;
  const std::string key = InstallRecordKey;
  OpenCache(view_, CacheIndex, prefs_(), GameRoot, [&key] { return ReadGameInstallFolder(key); });
}

void TMainCommands::tbCopySelectedClick() {
  if (RefuseWhileBusy()) return;
  RunOperation([this] {
    TIntegrationContext context{*operationView_, CacheIndex, prefs_,
                                [this](const std::string& name) {
                                  // Once the window is closing, no tool is started any more.
                                  if (!closeRequested_) InstallMutator(name, prefs_(), *operationView_, launcher_);
                                },
                                [this] { return closeRequested_; }, ReportError, CopyIo};
    IntegrateSelected(context);
  });
}

void TMainCommands::tbRegisterUninstalledClick() {
  if (RefuseWhileBusy()) return;
  RunOperation([this] {
    RegisterUninstalledMutators(prefs_(), *operationView_, launcher_, [this] { return closeRequested_; });
  });
}

void TMainCommands::SelectAll1Click() {
  const int rowCount = view_.RowCount();
  for (int row = 0; row < rowCount; ++row) view_.SetRowTicked(row, true);
}
