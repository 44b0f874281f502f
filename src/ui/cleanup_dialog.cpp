#include "ui/cleanup_dialog.h"

#include "job/cache_tidy_texts.h"
#include "ui/resource.h"

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
  if (Shown()) return std::nullopt;
  survey_ = &survey;
  accepted_.reset();
  ShowChoiceDialog(IDD_CLEANUP);
  survey_ = nullptr;
  return accepted_;
}

void TCleanUpDialog::FormShow(HWND dialog) {
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
