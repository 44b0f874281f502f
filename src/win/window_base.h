#pragma once
// The one way a window or dialog of the program reaches its object. The object's address is the
// creation parameter; the window keeps it from its first message on (WM_NCCREATE, or a dialog's
// WM_INITDIALOG), and every later message goes to the object's HandleMessage through
// GuardedDispatch, so that no exception crosses the system's callback.
#include <windows.h>

#include <string>

#include "core/window_layout.h"

// A window class registered for TWindowBase's procedure.
struct TWindowClass {
  const char* Name;
  UINT Style = 0;
  HICON Icon = nullptr;
  HBRUSH Background = nullptr;
};

// Where a window is made and how it looks.
struct TWindowPlace {
  DWORD ExStyle = 0;
  DWORD Style = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  HWND Parent = nullptr;  // the owner of a top-level window
  HMENU Menu = nullptr;   // taken over by the window once it is made
};

class TWindowBase {
public:
  virtual ~TWindowBase() = default;

protected:
  // The object's handling of one message: a window's result, or for a dialog TRUE when handled
  // (WM_INITDIALOG included, with its usual meaning).
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Whether the object takes window's messages now; the system's default handling otherwise. A
  // window's object is asked until CreateWindowEx has returned and while the window is destroyed.
  virtual bool TakesMessagesOf(HWND window) const = 0;

  // Registers the class on first use and makes a window of it for this object; nullptr, with the
  // system's error, when either fails.
  HWND CreateObjectWindow(HINSTANCE instance, const TWindowClass& windowClass, const char* title,
                          const TWindowPlace& place);
  // The dialog box of a template, modal over owner, with this object taking its messages; the
  // result of EndDialog. A dialog that cannot be made raises Exception with the system's text.
  INT_PTR ShowModalDialog(HINSTANCE instance, const char* templateName, HWND owner);
  // The creation parameter of a dialog made by other means: this object, as the procedures read it.
  LPARAM DialogParameter() { return reinterpret_cast<LPARAM>(this); }
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// Moves a control to its place in its parent's client area, repainting it.
void PlaceWindow(HWND control, const TPixelRect& rect);

// The text of a control (an edit's contents, a button's caption).
std::string ControlText(HWND control);
