#pragma once
// The export dialog: the folder (typed, or picked with the shell's folder picker) and the form of
// the export. Modal over the program's window that is showing; it keeps the last choice for the
// next opening in this run.
#include <windows.h>

#include <optional>

#include "job/export_run.h"
#include "ui/folder_picker.h"
#include "ui/choice_dialog.h"

class TExportDialog : public IExportDialog, private TChoiceDialog {
public:
  explicit TExportDialog(IFolderPicker& folderPicker) : folderPicker_(folderPicker) {}

  // Raises Exception when the dialog cannot be made.
  std::optional<TExportChoice> ChooseExport() override;

  // The handlers.
  void BrowseClick();
  // Accepts the choice shown; an empty folder keeps the dialog open.
  void ExportClick();

private:
  void FormShow(HWND dialog) override;
  void OkClick() override { ExportClick(); }
  bool ControlClick(WORD id) override;

  IFolderPicker& folderPicker_;
  TExportChoice last_;
  std::optional<TExportChoice> accepted_;
};
