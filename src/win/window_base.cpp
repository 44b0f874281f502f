#include "win/window_base.h"

#include "core/exceptions.h"
#include "win/application.h"

HWND TWindowBase::CreateObjectWindow(HINSTANCE instance, const TWindowClass& windowClass, const char* title,
                                     const TWindowPlace& place) {
  WNDCLASSEXA registered{};
  registered.cbSize = sizeof registered;
  if (!::GetClassInfoExA(instance, windowClass.Name, &registered)) {
    registered.style = windowClass.Style;
    registered.lpfnWndProc = &TWindowBase::WindowProc;
    registered.hInstance = instance;
    registered.hIcon = windowClass.Icon;
    registered.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    registered.hbrBackground = windowClass.Background;
    registered.lpszClassName = windowClass.Name;
    if (!::RegisterClassExA(&registered)) return nullptr;
  }
  // The object's base address, which is what the procedure reads back.
  return ::CreateWindowExA(place.ExStyle, windowClass.Name, title, place.Style, place.Left, place.Top, place.Width,
                           place.Height, place.Parent, place.Menu, instance, static_cast<TWindowBase*>(this));
}

INT_PTR TWindowBase::ShowModalDialog(HINSTANCE instance, const char* templateName, HWND owner) {
  const INT_PTR result = ::DialogBoxParamA(instance, templateName, owner, &TWindowBase::DialogProc, DialogParameter());
  if (result == -1) throw Exception(SystemErrorText(::GetLastError()));
  return result;
}

LRESULT CALLBACK TWindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* object = reinterpret_cast<TWindowBase*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!object || !object->TakesMessagesOf(window)) return ::DefWindowProcA(window, message, wParam, lParam);
  return GuardedDispatch([&] { return object->HandleMessage(window, message, wParam, lParam); }, LRESULT{0});
}

INT_PTR CALLBACK TWindowBase::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* object = reinterpret_cast<TWindowBase*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (!object || !object->TakesMessagesOf(dialog)) return FALSE;
  return GuardedDispatch([&] { return static_cast<INT_PTR>(object->HandleMessage(dialog, message, wParam, lParam)); },
                         INT_PTR{FALSE});
}

void PlaceWindow(HWND control, const TPixelRect& rect) {
  ::MoveWindow(control, rect.Left, rect.Top, rect.Width, rect.Height, TRUE);
}

std::string ControlText(HWND control) {
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}
