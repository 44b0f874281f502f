#include "ui/choice_dialog.h"

#include "win/application.h"

void TChoiceDialog::ShowChoiceDialog(int templateId) {
  if (window_) return;
  struct TForgetWindow {
    HWND& window;
    ~TForgetWindow() { window = nullptr; }
  } forget{window_};
  ShowModalDialog(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), Application.ModalOwner());
}

LRESULT TChoiceDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      window_ = dialog;
      FormShow(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: OkClick(); return TRUE;
        case IDCANCEL: ::EndDialog(dialog, IDCANCEL); return TRUE;
        default: return ControlClick(LOWORD(wParam));
      }
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}
