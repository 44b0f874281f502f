#pragma once
// The preferences dialog, TPrefsForm, and its one instance PrefsForm: created at start-up right
// after the main window, alive for the whole run, shown modally from the main window's menu. It
// holds the preferences (the store, the editable copy the controls show, and the applied values
// everything else reads through Applied()).
//
// The editable copy is the model: the controls show it while the dialog is open and write every
// change back at once, so a text typed and left by the close box is still there at the next
// showing. Every handler works on the model with or without the window.
#include <windows.h>

#include <optional>
#include <string>

#include "core/preferences.h"
#include "job/first_run.h"
#include "job/message_boxes.h"
#include "ui/folder_picker.h"
#include "win/handles.h"
#include "win/window_base.h"

// What the dialog needs of the main window.

class TPrefsForm : private TWindowBase {
public:
  // Sets PrefsForm to this object before anything else runs. Nothing is loaded yet: start-up
  // calls Create.
  TPrefsForm(IPrefsStore& store, IPrefsHost& host, IMessageBoxes& messages, IFolderPicker& folderDialog);
  ~TPrefsForm();
  TPrefsForm(const TPrefsForm&) = delete;
  TPrefsForm& operator=(const TPrefsForm&) = delete;

  // Runs FormCreate; an error ends it and is shown by the default error handler.
  void Create();
  // Shows the dialog modally over owner and returns when it is closed (Save, Cancel or the close
  // box). First showing: centred over owner; later: where it was left.
  void ShowModal(HWND owner);

  const TAppliedPrefs& Applied() const { return prefs_.Applied; }
  const TEditablePrefs& Editable() const { return prefs_.Editable; }
  HWND Handle() const { return window_; }  // while shown, else null

  // The handlers. Errors propagate (the dialog's procedure hands them to the default handler).
  void FormCreate();
  void PathButtonClick(int row);  // row of the edit, 0 (teSystem) .. 8 (teCache)
  void tbQuickPathClick();
  void tbSaveClick();
  void tbCancelClick();
  void AutoRegMutsClick(bool checked);
  void PromptMutsClick(bool checked);
  void EditChanged(int row, const std::string& text);

private:
  static LRESULT CALLBACK EditSubclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR row,
                                       DWORD_PTR form);
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  // The dialog shown now, or the one about to be (its first message hands over its handle).
  bool TakesMessagesOf(HWND dialog) const override { return !window_ || window_ == dialog; }
  void FormShow(HWND dialog);
  void OnCommand(int id, int notification);
  void DrawPanel(const DRAWITEMSTRUCT& item);
  HBRUSH PanelBrushFor(HWND control) const;
  void Close();
  // Runs a model operation and shows the model in the controls afterwards, also when the
  // operation fails midway.
  template <class F> auto Operate(F&& operation);
  void RefreshControls();
  void LoadPictures();

  TPreferences prefs_;
  IPrefsHost& host_;
  IMessageBoxes& messages_;
  IFolderPicker& folderDialog_;

  HWND window_ = nullptr;
  bool refreshing_ = false;  // the controls' change notices during a refresh are not edits
  std::optional<POINT> lastPosition_;
  TGdiObject pathsBrush_, optionsBrush_, headingFont_;
  TImageList quickPathImage_, saveImage_, cancelImage_;
};

extern TPrefsForm* PrefsForm;
