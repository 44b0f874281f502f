#include "ui/package_details_dialog.h"

#include "ui/resource.h"

void TPackageDetailsDialog::ShowModal(HINSTANCE instance, HWND owner) {
  ShowModalDialog(instance, MAKEINTRESOURCEA(IDD_PACKAGE_DETAILS), owner);
}

LRESULT TPackageDetailsDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ::SetDlgItemTextA(dialog, IDC_DETAILS_TEXT, text_.c_str());
      // On the button, so that the text is not shown selected and Enter closes the dialog.
      ::SetFocus(::GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      ::EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}
