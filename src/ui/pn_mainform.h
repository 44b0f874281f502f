#pragma once
// The main window: the package list, the two large buttons, the menus, the progress bar and the
// status line. It holds no logic of its own: each command is routed to TJobController through the
// dispatch guard, and the window serves the commands through the seams of job_seams.h.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/list_view_rows.h"
#include "job/install_files_run.h"
#include "job/job_controller.h"
#include "job/job_seams.h"
#include "job/message_boxes.h"
#include "ui/cleanup_dialog.h"
#include "ui/export_dialog.h"
#include "ui/folder_picker.h"
#include "ui/message_dialog.h"
#include "ui/pn_preferences.h"
#include "ui/preview_pane.h"
#include "win/handles.h"
#include "win/launcher.h"
#include "win/window_base.h"

struct TAppliedPrefs;

// What the window needs from the rest of the program. The program passes the preferences
// dialog's applied values and its modal showing; tests pass their own.
struct TMainFormServices {
  std::function<const TAppliedPrefs&()> Prefs;
  std::function<void(HWND owner)> ShowPreferences;
  // The message boxes; the program's own dialogs when none is given.
  IMessageBoxes* Boxes = nullptr;
  // Where the window keeps whether its preview pane is shown; kept nowhere when none is given.
  IPrefsStore* Settings = nullptr;
};

class TMainForm final : public IPackageRows,
                        public IStatusLine,
                        public IProgress,
                        public IMessageBoxes,
                        public ICacheFilePicker,
                        public IPrefsHost,
                        public IPackageFilePicker,
                        private TWindowBase {
public:
  // Sets MainForm, then makes the window and its controls at once; the window stays hidden until
  // Show. Raises Exception when a window cannot be made.
  TMainForm(HINSTANCE instance, TMainFormServices services);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  HWND Handle() const { return window_.Get(); }
  HWND ListHandle() const { return list_; }
  HWND OpenCacheButton() const { return tbOpenCache_; }
  HWND CopySelectedButton() const { return tbCopySelected_; }
  HWND ProgressHandle() const { return progressBar_; }
  HWND StatusHandle() const { return statusBar_; }
  HMENU PopupMenu() const;
  HACCEL Accelerators() const { return accelerators_; }

  // First showing: centred on the screen, with the start-up show command.
  void Show(int showCommand);

  // The commands, as the buttons and menus raise them.
  void tbOpenCacheClick();
  void tbCopySelectedClick();
  void tbRegisterUninstalledClick();
  void SelectAll1Click();
  void SelectNeeded1Click();
  void Details1Click();         // of the row under the context menu
  void lvCacheItemsDblClick();  // a double click or Enter on a row: the details of the selected row
  // The row under the context menu: every row of its kind is ticked.
  void SelectAllOfType1Click();
  // A click on a column's header: sorted by it, or turned round when it sorted already.
  void lvCacheItemsColumnClick(int column);
  void Preferences1Click();
  void Exit1Click();
  void Export1Click();
  void InstallFiles1Click();
  // "Remove from Cache": the ticked rows, or with none ticked the row under the context menu
  // (RemoveFromCache1Click) or the selected row (the Delete key in the list).
  void RemoveFromCache1Click();
  void lvCacheItemsDeleteKey();
  void CleanUpCache1Click();
  // View > "Preview Pane": the pane beside the list turned on or off, and the choice kept.
  void PreviewPane1Click();
  TPreviewPane* PreviewPane() const { return previewPane_.get(); }

  TJobController& Commands() { return commands_; }
  TLauncher& Launcher() { return launcher_; }

  // IPrefsHost: the preferences dialog's "Default paths" opens the cache here, and the first run
  // lists it again once its default folders are applied.
  void OpenCache() override { tbOpenCacheClick(); }
  std::string GameRoot() const override { return commands_.OpenedCache().GameRoot; }
  std::string GameCacheFolder() const override { return commands_.OpenedCache().GameCache; }
  void RelistPackages() override;
  std::optional<TFoundGame> FindGame() const override { return FindGameFolder(commands_.GameSearch); }

  // The seams of the program's work.
  void ShowWarning(const std::string& text) override { boxes_->ShowWarning(text); }
  TModalResult AskWarning(const std::string& text) override { return boxes_->AskWarning(text); }
  TModalResult AskConfirmation(const std::string& text) override { return boxes_->AskConfirmation(text); }
  void ShowInformation(const std::string& text) override { boxes_->ShowInformation(text); }
  void SetStatusText(const std::string& text) override;
  void SetProgressVisible(bool visible) override;
  void SetProgressRange(int maximum) override;
  void SetProgressPosition(int position) override;
  int RowCount() const override { return rows_.Count(); }
  std::string RowCaption(int row) const override { return rows_.Row(row).Caption; }
  bool RowTicked(int row) const override { return rows_.Row(row).Ticked; }
  void SetRowTicked(int row, bool ticked) override;
  void ReplaceRows(std::vector<TListingRow> rows) override;
  std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) override;
  void ProcessPendingMessages() override;
  std::optional<std::vector<std::string>> PickPackageFiles(const std::string& title, const std::string& filter) override;

private:
  // The file-open dialog over owner: its file buffer (names separated by zero bytes), nothing
  // when cancelled; a dialog that fails raises Exception.
  static std::optional<std::string> RunOpenDialog(HWND owner, const std::string& title, const std::string& filter,
                                                  DWORD flags, size_t bufferSize);

  static constexpr UINT_PTR ListSubclassId = 1;
  static constexpr UINT_PTR ProgressTimerId = 1;  // brings the bar up to date (pn_mainform_progress)
  static constexpr int SmallPicture = 16;   // list and menu pictures
  static constexpr int SelectAllImage = 2;  // the menu's picture in imageList1_
  // Posted to repaint the list once after any number of ticks.
  static constexpr UINT RepaintListMessage = WM_APP + 1;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR form);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  // From CreateWindowEx's return until the window is destroyed.
  bool TakesMessagesOf(HWND window) const override { return window_.Get() == window; }
  LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void LoadPictures();
  void LayOutControls();
  void HandleCommand(WORD id, WORD code);
  bool SysCommandHandled(WPARAM command);
  void FormActivate(bool active);
  LRESULT HandleNotify(const NMHDR& header, LPARAM lParam);
  void SupplyRowData(NMLVDISPINFOA& info) const;
  LRESULT FindRow(UINT flags, const std::string& text, int start) const;
  void ShowPopupMenu(LPARAM screenPoint);
  int RowAtMenuPoint(LPARAM screenPoint) const;
  int NextRowWith(UINT state) const;  // the first row with the state (LVNI_FOCUSED ...), or -1
  void ShowDetails(int row);
  void ShowSortArrow();
  void MeasureMenuPicture(MEASUREITEMSTRUCT& item) const;
  void DrawMenuPicture(const DRAWITEMSTRUCT& item) const;

  // Ticking in the list, by mouse or Space: the rows change and the check box is redrawn.
  bool TickAtPoint(LPARAM clientPoint);
  void ToggleFocusedRow();
  LRESULT SetItemState(WPARAM item, const LVITEMA* state);
  LRESULT GetItemState(WPARAM item, LPARAM mask);
  void ScheduleListRepaint();

  // The preview pane: shown as the settings say at start, placed beside the list (whose place is
  // returned), following the selected row.
  void RestorePreviewPane();
  void ShowPreviewPane(bool shown);
  TPixelRect PlacePreviewPane(const TPixelRect& listPlace);
  void FollowSelection();

  // The progress bar, brought to the latest request on a clock.
  void RequestProgress();
  void ApplyProgress();

  HINSTANCE instance_;
  TMainFormServices services_;
  TMessageDialogs ownBoxes_;
  IMessageBoxes* boxes_;
  TListViewRows rows_;
  TLauncher launcher_;
  TJobController commands_;
  TShellFolderPicker folderPicker_;
  TExportDialog exportDialog_{folderPicker_};
  TCleanUpDialog cleanUpDialog_;

  TGdiObject font_;
  TImageList imageList1_;
  TImageList openCachePicture_;
  TImageList integratePicture_;
  TMenuHandle popupMenu1_;
  HACCEL accelerators_ = nullptr;  // a resource: released with the program
  int statusHeight_ = 0;
  bool repaintPending_ = false;
  int popupRow_ = -1;  // the row the context menu was opened on, -1 for none
  struct TProgressState {
    int Maximum = 100;  // the bar's own defaults
    int Position = 0;
    bool operator==(const TProgressState&) const = default;
  };
  TProgressState progressWanted_;
  TProgressState progressShown_;  // what the bar holds
  ULONGLONG progressAppliedAt_ = 0;
  bool progressTimerSet_ = false;
  HWND focusedControl_ = nullptr;  // kept while the window is inactive
  std::unique_ptr<TPreviewPane> previewPane_;  // while shown

  // Destroyed first: the window and its children go before the pictures and the font they use.
  TWindowHandle window_;
  HWND list_ = nullptr;
  HWND tbOpenCache_ = nullptr;
  HWND tbCopySelected_ = nullptr;
  HWND progressBar_ = nullptr;
  HWND statusBar_ = nullptr;
};

extern TMainForm* MainForm;
