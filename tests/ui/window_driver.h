#pragma once
// Drives the program's modal windows from inside their own message loops: a thread timer waits
// for a new dialog window of this thread to appear and hands it to the test's action. Nothing
// here measures time; the timer only polls until the window is there.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Runs action(dialog) once, on the first visible dialog window ("#32770") of this thread that
// the owner of the driver has not seen before, while some modal loop is running.
class TDialogDriver {
public:
  explicit TDialogDriver(std::function<void(HWND)> action);
  ~TDialogDriver();
  TDialogDriver(const TDialogDriver&) = delete;
  TDialogDriver& operator=(const TDialogDriver&) = delete;
  bool Acted() const { return acted_; }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
  std::function<void(HWND)> action_;
  std::vector<HWND> known_;
  UINT_PTR timer_ = 0;
  bool acted_ = false;
};

// Runs action once the message queue has been worked off (a thread timer fires only when no
// other message waits), inside whichever message loop is running then.
void RunWhenIdle(std::function<void()> action);

std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
// The texts of every static control of a window, in child order.
std::vector<std::string> StaticTexts(HWND window);
// A key as the keyboard would deliver it to the focused control.
void PressKey(HWND dialog, WPARAM virtualKey);
// Writes what a window shows to a 24-bit bitmap file, for the documentation's screenshots.
void SaveScreenshot(HWND window, const char* path);
