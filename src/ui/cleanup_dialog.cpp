#include "ui/cleanup_dialog.h"

#include "job/cache_tidy_texts.h"
#include "ui/resource.h"
#include "win/application.h"

namespace {

// A category's check box and its text: ticked and enabled when it holds anything, else greyed.
void ShowCategory(HWND dialog, int box, int text, const std::string& count, bool empty) {
  ::SetDlgItemTextA(dialog, text, count.c_str());
  ::CheckDlgButton(dialog, box, empty ? BST_UNCHECKED : BST_CHECKED);
  ::EnableWindow(::GetDlgItem(dialog, box), !empty);
  ::EnableWindow(::GetDlgItem(dialog, text), !empty);
}

bool Ticked(HWND dialog, int box) {
  return ::IsWindowEnabled(::GetDlgItem(dialog, box)) && ::IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

}  // namespace

std::optional<TCleanUpChoice> TCleanUpDialog::ChooseCleanUp(const TCacheSurvey& survey) {
  if (window_) return std::nullopt;  // already shown
  survey_ = &survey;
  accepted_.reset();
  ShowModalDialog(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CLEANUP), Application.ModalOwner());
  window_ = nullptr;
  survey_ = nullptr;
  return accepted_;
}

void TCleanUpDialog::FormShow(HWND dialog) {
  window_ = dialog;
  const TCacheSurvey& survey = *survey_;
  const TSurveyTexts texts = DescribeSurvey(survey);
  ShowCategory(dialog, IDC_CLEANUP_ORPHANS, IDC_CLEANUP_ORPHANS_SIZE, texts.orphans, survey.orphans.empty());
  ShowCategory(dialog, IDC_CLEANUP_MISSING, IDC_CLEANUP_MISSING_SIZE, texts.missingPayloads,
               survey.missingPayloadLines.empty());
  ShowCategory(dialog, IDC_CLEANUP_INSTALLED, IDC_CLEANUP_INSTALLED_SIZE, texts.installed, survey.installedLines.empty());
  ::SetDlgItemTextA(dialog, IDC_CLEANUP_TOTALS, texts.totals.c_str());
  ::SetDlgItemTextA(dialog, IDC_CLEANUP_PURGE_TEXT, texts.purge.c_str());
  ::SetDlgItemTextA(dialog, IDC_CLEANUP_PURGE_NOTE, CacheTidyTexts::PurgeNote);
  // Already kept for ever, the box shows so; where the setting is unknown it cannot be changed.
  const bool keptForEver = survey.purge.known && survey.purge.days == 0;
  ::CheckDlgButton(dialog, IDC_CLEANUP_NEVER_PURGE, keptForEver ? BST_CHECKED : BST_UNCHECKED);
  ::EnableWindow(::GetDlgItem(dialog, IDC_CLEANUP_NEVER_PURGE), survey.purge.known && !keptForEver);
}

void TCleanUpDialog::RemoveClick() {
  accepted_ = TCleanUpChoice{Ticked(window_, IDC_CLEANUP_ORPHANS), Ticked(window_, IDC_CLEANUP_MISSING),
                             Ticked(window_, IDC_CLEANUP_INSTALLED), Ticked(window_, IDC_CLEANUP_NEVER_PURGE)};
  ::EndDialog(window_, IDOK);
}

LRESULT TCleanUpDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FormShow(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: RemoveClick(); return TRUE;
        case IDCANCEL: ::EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}
