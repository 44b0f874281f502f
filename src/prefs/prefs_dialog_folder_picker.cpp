#include "prefs/prefs_dialog_folder_picker.h"

#include <commctrl.h>

#include "framework/application.h"
#include "prefs/prefs_dialog_layout.h"
#include "prefs/prefs_dialog_texts.h"

namespace {
constexpr UINT_PTR PickerSubclassId = 1;
}

std::optional<std::string> TShellFolderPicker::PickFolder(HWND owner) {
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the top of the shell's tree
  // The new-style picker is resizable and offers creating folders and the items' context menus;
  // no file-system-only flag, so a virtual folder can be accepted (and gives an empty text).
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  TItemList picked(::SHBrowseForFolderA(&info));
  if (!picked) return std::nullopt;

  char path[MAX_PATH] = {};
  const std::string text = ::SHGetPathFromIDListA(picked.get(), path) ? FolderTextFromPath(path) : std::string();
  lastAccepted_ = std::move(picked);
  return text;
}

int CALLBACK TShellFolderPicker::BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED)
    GuardedCall([&] { reinterpret_cast<TShellFolderPicker*>(data)->OnInitialized(picker); });
  return 0;
}

void TShellFolderPicker::OnInitialized(HWND picker) {
  ::SetWindowTextA(picker, PrefsDialogTexts::FolderDialogTitle);
  if (lastAccepted_)
    ::SendMessageA(picker, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(lastAccepted_.get()));
  if (lastFrame_) {
    const RECT& frame = *lastFrame_;
    ::SetWindowPos(picker, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SetWindowSubclass(picker, PickerSubclass, PickerSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

// Records the picker's size as it closes, so the next opening has it again.
LRESULT CALLBACK TShellFolderPicker::PickerSubclass(HWND picker, UINT message, WPARAM wParam, LPARAM lParam,
                                                    UINT_PTR, DWORD_PTR data) {
  if (message == WM_DESTROY) {
    RECT frame;
    if (::GetWindowRect(picker, &frame)) reinterpret_cast<TShellFolderPicker*>(data)->lastFrame_ = frame;
    ::RemoveWindowSubclass(picker, PickerSubclass, PickerSubclassId);
  }
  return ::DefSubclassProc(picker, message, wParam, lParam);
}
