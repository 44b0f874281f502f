#pragma once
// The Clean Up Cache dialog: what the survey of the cache found, each category with a check box,
// its count and its size (greyed when empty), the cache's totals, and the game's purge setting
// with a check box that keeps cached packages for ever. Modal over the program's window.
#include <windows.h>

#include <optional>

#include "job/cache_cleanup.h"
#include "ui/choice_dialog.h"

class TCleanUpDialog : public ICleanUpDialog, private TChoiceDialog {
public:
  // Raises Exception when the dialog cannot be made.
  std::optional<TCleanUpChoice> ChooseCleanUp(const TCacheSurvey& survey) override;

  // Accepts what is ticked.
  void RemoveClick();

private:
  void FormShow(HWND dialog) override;
  void OkClick() override { RemoveClick(); }

  const TCacheSurvey* survey_ = nullptr;
  std::optional<TCleanUpChoice> accepted_;
};
