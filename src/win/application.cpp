#include "win/application.h"

#include <algorithm>
#include <stdexcept>

#include "core/error_text.h"
#include "core/exceptions.h"
#include "win/message_pump.h"
#include "win/window_texts.h"

TApplication Application;

namespace {

constexpr const char* ApplicationWindowClass = "TApplication";
constexpr const char* ApplicationIconName = "MAINICON";
constexpr const char* CreateHandleFailed = "Cannot create the application window";
// A caption, a system menu and a minimise box give the taskbar button its menu (Restore,
// Minimise, Close); with no size the window itself is never seen.
constexpr DWORD ApplicationWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;

[[noreturn]] void RaiseCreateHandleFailed() {
  throw Exception(FormatText("%s. %s", CreateHandleFailed, SystemErrorText(::GetLastError()).c_str()));
}

}  // namespace

void TApplication::CreateHandle(HINSTANCE instance) {
  TWindowPlace place;
  place.Style = ApplicationWindowStyle;
  place.Left = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  place.Top = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  HWND window = CreateObjectWindow(instance, {ApplicationWindowClass, 0, ::LoadIconA(instance, ApplicationIconName)},
                                   Title.c_str(), place);
  if (!window) RaiseCreateHandleFailed();
  handle_.Reset(window);
}

void TApplication::ShowHandle() {
  if (handle_) ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void TApplication::Minimize() {
  if (!handle_) return;
  FollowMinimisedState(true);
  ::ShowWindow(Handle(), SW_MINIMIZE);
}

LRESULT TApplication::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      // Clicking the taskbar button or switching to the program activates this window; the user
      // means the main window (or the box open over it).
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        ActivateMainWindow();
        return 0;
      }
      break;
    case WM_SIZE:
      // The taskbar, the system menu or the shell minimises and restores this window; the main
      // window follows.
      if (wParam == SIZE_MINIMIZED) FollowMinimisedState(true);
      if (wParam == SIZE_RESTORED) FollowMinimisedState(false);
      return 0;
    case WM_CLOSE:
      CloseMainWindow();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

namespace {

struct TModalSearch {
  HWND Owner;
  HWND Found = nullptr;
};

bool IsOwnedBy(HWND window, HWND owner) {
  for (HWND up = ::GetWindow(window, GW_OWNER); up; up = ::GetWindow(up, GW_OWNER))
    if (up == owner) return true;
  return false;
}

// Top-level windows come topmost first: the first enabled, visible one over the owner is the
// modal window the user is answering.
BOOL CALLBACK FindModalWindow(HWND window, LPARAM search) {
  auto& modal = *reinterpret_cast<TModalSearch*>(search);
  if (!::IsWindowVisible(window) || !::IsWindowEnabled(window) || !IsOwnedBy(window, modal.Owner)) return TRUE;
  modal.Found = window;
  return FALSE;
}

}  // namespace

HWND TApplication::ActiveTarget() const {
  if (!::IsWindow(mainWindow_)) return nullptr;
  if (::IsWindowEnabled(mainWindow_)) return mainWindow_;
  TModalSearch search{mainWindow_};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindModalWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found ? search.Found : mainWindow_;
}

HWND TApplication::ModalOwner() const {
  if (!::IsWindow(mainWindow_) || !(::IsWindowVisible(mainWindow_) || mainHiddenByMinimize_)) return nullptr;
  return ActiveTarget();
}

void TApplication::ActivateMainWindow() {
  HWND target = ActiveTarget();
  if (target && ::IsWindowVisible(target)) ::SetActiveWindow(target);
}

void TApplication::CloseMainWindow() {
  if (!::IsWindow(mainWindow_)) return;
  // While a box or dialog is open over it the main window takes no input: the close would
  // pull the window from under that dialog's own loop, so the dialog is brought forward instead.
  if (::IsWindowEnabled(mainWindow_))
    ::SendMessageA(mainWindow_, WM_CLOSE, 0, 0);
  else
    ActivateMainWindow();
}

void TApplication::FollowMinimisedState(bool minimised) {
  if (!::IsWindow(mainWindow_)) return;
  // A hidden window's own popups (a box or the preferences dialog open over it) would stay on
  // screen: they go and come back with it.
  if (minimised) {
    mainHiddenByMinimize_ = true;
    ::ShowOwnedPopups(mainWindow_, FALSE);
    ::ShowWindow(mainWindow_, SW_HIDE);
  } else if (mainHiddenByMinimize_) {
    mainHiddenByMinimize_ = false;
    ::ShowWindow(mainWindow_, ::IsIconic(mainWindow_) ? SW_RESTORE : SW_SHOW);
    ::ShowOwnedPopups(mainWindow_, TRUE);
    ActivateMainWindow();
  }
}

void TApplication::HandleException(const std::exception& error) noexcept {
  try {
    const std::string text = ErrorBoxText(error.what());
    // Task-modal: every window of the thread is disabled while the box is up, whichever was
    // active when the failure happened. The box has no owner to hand the activation back to, so
    // the window that was active (or the one the program's boxes belong to) takes it back.
    HWND owner = ::GetActiveWindow();
    if (!owner) owner = ModalOwner();
    ::MessageBoxA(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    if (owner && ::IsWindowVisible(owner) && ::IsWindowEnabled(owner)) ::SetActiveWindow(owner);
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
  // A quit request belongs to the outer loop: it goes back for Run (or a modal loop).
  if (const std::optional<int> quit = PumpWaitingMessages([this](MSG& message) { return PreTranslate(message); })) {
    terminated_ = true;
    ::PostQuitMessage(*quit);
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
