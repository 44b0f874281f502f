#include "ui/export_dialog.h"

#include <string>

#include "ui/resource.h"
#include "win/application.h"
#include "win/handles.h"

namespace {

constexpr int FormButtons[] = {IDC_EXPORT_LAYOUT, IDC_EXPORT_ZIP, IDC_EXPORT_UZ2};  // in TExportForm's order

}  // namespace

std::optional<TExportChoice> TExportDialog::ChooseExport() {
  if (window_) return std::nullopt;  // already shown
  accepted_.reset();
  ShowModalDialog(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EXPORT), Application.ModalOwner());
  window_ = nullptr;
  if (accepted_) last_ = *accepted_;
  return accepted_;
}

void TExportDialog::FormShow(HWND dialog) {
  window_ = dialog;
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

LRESULT TExportDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FormShow(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_EXPORT_BROWSE: BrowseClick(); return TRUE;
        case IDOK: ExportClick(); return TRUE;
        case IDCANCEL: ::EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}
