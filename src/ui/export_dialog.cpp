#include "ui/export_dialog.h"

#include <string>

#include "ui/resource.h"
#include "win/handles.h"

namespace {

constexpr int FormButtons[] = {IDC_EXPORT_LAYOUT, IDC_EXPORT_ZIP, IDC_EXPORT_UZ2};  // in TExportForm's order

}  // namespace

std::optional<TExportChoice> TExportDialog::ChooseExport() {
  if (Shown()) return std::nullopt;
  accepted_.reset();
  ShowChoiceDialog(IDD_EXPORT);
  if (accepted_) last_ = *accepted_;
  return accepted_;
}

void TExportDialog::FormShow(HWND dialog) {
  ::SetDlgItemTextA(dialog, IDC_EXPORT_FOLDER, last_.Folder.c_str());
  ::CheckRadioButton(dialog, FormButtons[0], FormButtons[2], FormButtons[static_cast<int>(last_.Form)]);
}

void TExportDialog::BrowseClick() {
  const std::optional<std::string> picked = folderPicker_.PickFolder(window_);
  if (picked && !picked->empty()) ::SetDlgItemTextA(window_, IDC_EXPORT_FOLDER, picked->c_str());
}

void TExportDialog::ExportClick() {
  TExportChoice choice;
  choice.Folder = ControlText(::GetDlgItem(window_, IDC_EXPORT_FOLDER));
  if (choice.Folder.empty()) {
    ::SetFocus(::GetDlgItem(window_, IDC_EXPORT_FOLDER));
    return;
  }
  for (int form = 0; form < static_cast<int>(std::size(FormButtons)); ++form)
    if (::IsDlgButtonChecked(window_, FormButtons[form]) == BST_CHECKED) choice.Form = static_cast<TExportForm>(form);
  accepted_ = choice;
  ::EndDialog(window_, IDOK);
}

bool TExportDialog::ControlClick(WORD id) {
  if (id != IDC_EXPORT_BROWSE) return false;
  BrowseClick();
  return true;
}
