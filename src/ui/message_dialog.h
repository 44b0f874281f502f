#pragma once
// The program's message boxes as a dialog of its own: unlike the system's box, a Yes/No box keeps
// its close box and tells Esc (No) from the close box (neither answer). Modal over the program's
// window that is showing (TApplication::ModalOwner), also while another program is active,
// centred on the screen, in the system's message font.
#include <windows.h>

#include <functional>
#include <string>

#include "job/message_boxes.h"

class TMessageDialogs : public IMessageBoxes {
public:
  // Runs a box from its template over its owner, as DialogBoxIndirectParamA does (-1 when the box
  // cannot be made, with the reason in GetLastError). Tests pass one that fails.
  using TDialogRunner = std::function<INT_PTR(const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure,
                                              LPARAM parameter)>;
  // The system's dialog call when no runner is given.
  explicit TMessageDialogs(TDialogRunner runDialog = {});

  // A question that cannot be opened raises Exception (see Show), which ends the command that
  // asked it: nothing goes ahead, nor on any answer, on a question nobody has seen. A box that
  // only tells something is reported by the default error handler instead, and the command goes on.
  void ShowWarning(const std::string& text) override;
  TModalResult AskWarning(const std::string& text) override;
  TModalResult AskConfirmation(const std::string& text) override;
  void ShowInformation(const std::string& text) override;

  enum class TKind { Warning, WarningYesNo, Confirmation, Information };
  // Shows one box and returns how it was left. An OK box answers Ok however it is left. Raises
  // Exception when the box cannot be opened.
  TModalResult Show(TKind kind, const std::string& text) const;

private:
  void Tell(TKind kind, const std::string& text) const;

  TDialogRunner runDialog_;
};
