#pragma once
// A modal dialog of the program that ends in a choice: shown over the program's window that is
// showing, OK accepts through OkClick, and Cancel, Esc and the close box end it with nothing.
#include <windows.h>

#include "win/window_base.h"

class TChoiceDialog : protected TWindowBase {
protected:
  // Shows the dialog of the template and returns when it has ended; at once while it is shown
  // already. Raises Exception when the dialog cannot be made.
  void ShowChoiceDialog(int templateId);
  // Fills the controls; the window is known from here on.
  virtual void FormShow(HWND dialog) = 0;
  // OK: ends the dialog with the choice shown, or keeps it open.
  virtual void OkClick() = 0;
  // The dialog's other buttons; false for a command it does not know.
  virtual bool ControlClick(WORD) { return false; }
  bool Shown() const { return window_ != nullptr; }

  HWND window_ = nullptr;

private:
  LRESULT HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND dialog) const override { return !window_ || window_ == dialog; }
};
