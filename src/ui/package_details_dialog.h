#pragma once
// The modal dialog that shows the details of one cached package: a read-only text (made by the
// job layer, see job/package_details.h) and a Close button.
#include <windows.h>

#include <string>

#include "win/window_base.h"

class TPackageDetailsDialog : private TWindowBase {
public:
  explicit TPackageDetailsDialog(std::string text) : text_(std::move(text)) {}

  // Shows the text modally over owner until Close, Enter, Esc or the close box ends the dialog.
  // Raises Exception when the dialog cannot be made.
  void ShowModal(HINSTANCE instance, HWND owner);

private:
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND) const override { return true; }  // one object, one dialog

  std::string text_;
};
