#pragma once
// The application object: its title, the application window that carries the taskbar button,
// the one default error handler, and the message loop with the nested pump that long operations
// use. One instance, the global Application, on the user-interface thread.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "win/handles.h"
#include "win/window_base.h"

class TApplication : public TWindowBase {
public:
  // The taskbar text and the title of every error box ("Pellorin v1.1", set by start-up).
  std::string Title;

  // Makes the application window: a top-level window of no size, titled with Title and showing
  // the icon "MAINICON", that owns the main window. Being the program's only unowned window, it
  // alone has a taskbar button; it passes activation on to the main window, minimises and
  // restores the program as a whole, and turns the taskbar's Close into the main window's.
  // Raises Exception when the window cannot be made.
  void CreateHandle(HINSTANCE instance);
  // The application window, or nullptr before CreateHandle (then windows are made unowned).
  HWND Handle() const { return handle_.Get(); }
  // Shows the application window without activating it, so that its taskbar button appears.
  void ShowHandle();
  // The window that stands for the program: it is hidden and shown with the application window,
  // and receives the activation and the close that reach the application window.
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  // The window the program's boxes and dialogs are modal over: the main window, or the window open
  // modally over it (the preferences dialog), whether the program is active or not. Nothing until
  // the main window has been shown: the first run's boxes come before it.
  HWND ModalOwner() const;
  // Minimises the program: the main window is hidden and the application window iconic; the
  // taskbar button's restore brings the main window back, active. Without an application window
  // it does nothing.
  void Minimize();

  TApplication() = default;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The default error handler: an error box with the message (a full stop added when its last
  // character sorts after "."), an error icon and OK, titled with Title. Returns when the user has
  // answered; the program goes on. Never throws.
  void HandleException(const std::exception& error) noexcept;
  // For exceptions of no known type.
  void HandleUnknownException() noexcept;

  // Runs the message loop until the main window (which becomes the one set above) is destroyed
  // or Terminate is called. Keys go through the accelerators (sent to mainWindow) and then
  // through the dialogs registered below.
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
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakesMessagesOf(HWND window) const override { return Handle() == window; }
  // The window that should be active for the program: a modal window over the main window when
  // one is open, else the main window itself.
  HWND ActiveTarget() const;
  void ActivateMainWindow();
  void CloseMainWindow();
  void FollowMinimisedState(bool minimised);

  bool terminated_ = false;
  TWindowHandle handle_;
  HWND mainWindow_ = nullptr;
  // Set while the main window is hidden because the program is minimised.
  bool mainHiddenByMinimize_ = false;
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
