#pragma once
// The program's own message boxes: modal, centred on the screen, one of four kinds with a fixed
// set of buttons. Operations ask through this interface; the windows implement it with a dialog
// of the program's own, tests script it.
#include <string>

// How a Yes/No box was left: the Esc key answers No, while the title bar's close box gives
// neither answer (None). An OK box always answers Ok.
enum class TModalResult { None, Ok, Yes, No };

// A question (AskWarning, AskConfirmation) that cannot be shown raises Exception with the reason,
// which ends the command that asked: nothing goes ahead on a question nobody has seen.
class IMessageBoxes {
public:
  virtual ~IMessageBoxes() = default;
  virtual void ShowWarning(const std::string& text) = 0;                 // "Warning", OK
  virtual TModalResult AskWarning(const std::string& text) = 0;          // "Warning", Yes and No
  virtual TModalResult AskConfirmation(const std::string& text) = 0;     // "Confirm", Yes and No
  virtual void ShowInformation(const std::string& text) = 0;             // "Information", OK
};
