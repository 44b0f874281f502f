#pragma once
// The program's message boxes as a dialog of its own: unlike the system's box, a Yes/No box keeps
// its close box and tells Esc (No) from the close box (neither answer). Modal over the active
// window, centred on the screen, in the system's message font.
#include <windows.h>

#include <string>

#include "framework/message_boxes.h"

class TMessageDialogs : public IMessageBoxes {
public:
  void ShowWarning(const std::string& text) override;
  TModalResult AskWarning(const std::string& text) override;
  TModalResult AskConfirmation(const std::string& text) override;
  void ShowInformation(const std::string& text) override;

  enum class TKind { Warning, WarningYesNo, Confirmation, Information };
  // Shows one box and returns how it was left. An OK box answers Ok however it is left.
  static TModalResult Show(TKind kind, const std::string& text);
};
