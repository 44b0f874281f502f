#pragma once
// The Clean Up Cache dialog: what the survey of the cache found, each category with a check box,
// its count and its size (greyed when empty), the cache's totals, and the game's purge setting
// with a check box that keeps cached packages for ever. Modal over the program's window.
#include <windows.h>

#include <optional>

#include "job/cache_cleanup.h"
#include "win/window_base.h"

class TCleanUpDialog : public ICleanUpDialog, private TWindowBase {
public:
  // Raises Exception when the dialog cannot be made.
  std::optional<TCleanUpChoice> ChooseCleanUp(const TCacheSurvey& survey) override;

  // Accepts what is ticked.
  void RemoveClick();

private:
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND dialog) const override { return !window_ || window_ == dialog; }
  void FormShow(HWND dialog);

  const TCacheSurvey* survey_ = nullptr;
  std::optional<TCleanUpChoice> accepted_;
  HWND window_ = nullptr;
};
