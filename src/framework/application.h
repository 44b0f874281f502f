#pragma once
// The application object: its title, the one default error handler, and the message loop with
// the nested pump that long operations use. One instance, the global Application, on the
// user-interface thread.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

class TApplication {
public:
  // The taskbar text and the title of every error box ("Pellorin v1.1", set by start-up).
  std::string Title;

  // The default error handler: an error box with the message (a full stop added when its last
  // character sorts after "."), an error icon and OK, titled with Title. Returns when the user has
  // answered; the program goes on. Never throws.
  void HandleException(const std::exception& error) noexcept;
  // For exceptions of no known type.
  void HandleUnknownException() noexcept;

  // Runs the message loop until the main window is destroyed or Terminate is called. Keys go
  // through the accelerators (sent to mainWindow) and then through the dialogs registered below.
  void Run(HWND mainWindow, HACCEL accelerators = nullptr);
  // Handles every message that is waiting, then returns. A quit request met here ends Run once
  // control gets back to it.
  void ProcessMessages();
  // Asks the loop to end after the message in hand.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Windows whose keyboard navigation (Tab, arrows, mnemonics) the loop runs through
  // IsDialogMessage: modeless dialogs, or a main window with tab-stop controls.
  void AddDialogNavigation(HWND window);
  void RemoveDialogNavigation(HWND window);

private:
  // True when the message was consumed by the accelerators or dialog navigation.
  bool PreTranslate(MSG& message);
  void Dispatch(MSG& message);

  bool terminated_ = false;
  HWND mainWindow_ = nullptr;
  HACCEL accelerators_ = nullptr;
  std::vector<HWND> dialogWindows_;
};

extern TApplication Application;

// Runs a window or dialog procedure's handler so that no exception crosses the Win32 callback:
// an exception is shown by the default error handler and onError is returned to the system.
template <class F>
auto GuardedDispatch(F&& handler, decltype(handler()) onError) noexcept -> decltype(handler()) {
  try {
    return handler();
  } catch (const std::exception& error) {
    Application.HandleException(error);
  } catch (...) {
    Application.HandleUnknownException();
  }
  return onError;
}

// The same for handlers that return nothing.
template <class F>
void GuardedCall(F&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    Application.HandleException(error);
  } catch (...) {
    Application.HandleUnknownException();
  }
}
