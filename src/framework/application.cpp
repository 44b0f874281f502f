#include "framework/application.h"

#include <algorithm>
#include <stdexcept>

#include "framework/error_text.h"
#include "framework/window_texts.h"

TApplication Application;

void TApplication::HandleException(const std::exception& error) noexcept {
  try {
    const std::string text = ErrorBoxText(error.what());
    // Task-modal: every window of the thread is disabled while the box is up, whichever was
    // active when the failure happened.
    ::MessageBoxA(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    // Building the text failed (out of memory); there is nothing left to show it with.
  }
}

void TApplication::HandleUnknownException() noexcept {
  HandleException(std::runtime_error(WindowTexts::UnknownError));
}

bool TApplication::PreTranslate(MSG& message) {
  if (accelerators_ && mainWindow_ && ::TranslateAcceleratorA(mainWindow_, accelerators_, &message))
    return true;
  for (HWND window : dialogWindows_)
    if (::IsWindow(window) && ::IsDialogMessageA(window, &message)) return true;
  return false;
}

void TApplication::Dispatch(MSG& message) {
  if (PreTranslate(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

void TApplication::Run(HWND mainWindow, HACCEL accelerators) {
  mainWindow_ = mainWindow;
  accelerators_ = accelerators;
  MSG message;
  // A quit request always waits in the queue (Terminate posts it, ProcessMessages puts it back),
  // so the loop takes it out rather than leave it to end some later modal loop.
  while (::IsWindow(mainWindow)) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      terminated_ = true;
      break;
    }
    Dispatch(message);
  }
  mainWindow_ = nullptr;
  accelerators_ = nullptr;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit request belongs to the outer loop: put it back for Run (or a modal loop) and
      // stop pumping here.
      terminated_ = true;
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  ::PostQuitMessage(0);
}

void TApplication::AddDialogNavigation(HWND window) {
  if (std::find(dialogWindows_.begin(), dialogWindows_.end(), window) == dialogWindows_.end())
    dialogWindows_.push_back(window);
}

void TApplication::RemoveDialogNavigation(HWND window) {
  dialogWindows_.erase(std::remove(dialogWindows_.begin(), dialogWindows_.end(), window), dialogWindows_.end());
}
