#include "ui/folder_picker.h"

#include <commctrl.h>
#include <shellapi.h>

#include "core/prefs_dialog_layout.h"
#include "ui/prefs_dialog_texts.h"
#include "win/application.h"
#include "win/window_base.h"

namespace {
constexpr UINT_PTR PickerSubclassId = 1;
// Controls of the shell's new-style picker, by their identifiers there.
constexpr int ShellTreeId = 14145;
constexpr int ShellNewFolderId = 14150;
// The picker's controls of our own.
constexpr int DeleteButtonId = 0x5E01;
constexpr int StatusLineId = 0x5E02;
// The picker hands its IUnknown to the callback with this notification (BFFM_IUNKNOWN).
constexpr UINT PickerUnknownMessage = 5;

// Lets the tree list every folder, hidden ones included. It lives as long as the program, so its
// reference count has nothing to free.
class TAllFoldersFilter : public IFolderFilter {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IFolderFilter) {
      *object = static_cast<IFolderFilter*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ShouldShow(IShellFolder*, PCIDLIST_ABSOLUTE, PCUITEMID_CHILD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetEnumFlags(IShellFolder*, PCIDLIST_ABSOLUTE, HWND*, DWORD* flags) override {
    *flags = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
    return S_OK;
  }
};
TAllFoldersFilter AllFoldersFilter;

void ShowHiddenFolders(IUnknown* picker) {
  IFolderFilterSite* site = nullptr;
  if (picker && SUCCEEDED(picker->QueryInterface(IID_IFolderFilterSite, reinterpret_cast<void**>(&site)))) {
    site->SetFilter(&AllFoldersFilter);
    site->Release();
  }
}


HWND AddChild(HWND picker, const char* className, const char* text, DWORD style, int id) {
  HWND child = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, picker,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
  ::SendMessageA(child, WM_SETFONT, ::SendMessageA(picker, WM_GETFONT, 0, 0), FALSE);
  return child;
}

std::string PathOf(const ITEMIDLIST* items) {
  char path[MAX_PATH] = {};
  return items && ::SHGetPathFromIDListA(items, path) ? std::string(path) : std::string();
}
}  // namespace

std::optional<std::string> TShellFolderPicker::PickFolder(HWND owner) {
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the top of the shell's tree
  // The new-style picker is resizable and has the items' context menus; no file-system-only
  // flag, so a virtual folder can be accepted (and gives an empty text).
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  TItemList picked(::SHBrowseForFolderA(&info));
  picker_ = status_ = nullptr;
  if (!picked) return std::nullopt;

  const std::string text = FolderTextFromPath(PathOf(picked.get()));
  lastAccepted_ = std::move(picked);
  return text;
}

int CALLBACK TShellFolderPicker::BrowseCallback(HWND picker, UINT message, LPARAM lParam, LPARAM data) {
  auto* self = reinterpret_cast<TShellFolderPicker*>(data);
  if (message == PickerUnknownMessage) ShowHiddenFolders(reinterpret_cast<IUnknown*>(lParam));
  if (message == BFFM_INITIALIZED) GuardedCall([&] { self->OnInitialized(picker); });
  if (message == BFFM_SELCHANGED)
    GuardedCall([&] { self->OnSelectionChanged(reinterpret_cast<const ITEMIDLIST*>(lParam)); });
  return 0;
}

void TShellFolderPicker::OnInitialized(HWND picker) {
  picker_ = picker;
  ::SetWindowTextA(picker, PrefsDialogTexts::FolderDialogTitle);
  ::SetDlgItemTextA(picker, ShellNewFolderId, PrefsDialogTexts::CreateFolderButton);
  AddChild(picker, "BUTTON", PrefsDialogTexts::DeleteButton, WS_TABSTOP | BS_PUSHBUTTON, DeleteButtonId);
  status_ = AddChild(picker, "STATIC", "", SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS | SS_NOPREFIX, StatusLineId);
  ::SetWindowSubclass(picker, PickerSubclass, PickerSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (lastFrame_) {
    const RECT& frame = *lastFrame_;
    ::SetWindowPos(picker, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  LayOut();
  if (lastAccepted_)
    ::SendMessageA(picker, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(lastAccepted_.get()));
}

void TShellFolderPicker::OnSelectionChanged(const ITEMIDLIST* selected) {
  selectedPath_ = PathOf(selected);
  if (status_) ::SetWindowTextA(status_, selectedPath_.c_str());
  if (picker_) ::EnableWindow(::GetDlgItem(picker_, DeleteButtonId), !selectedPath_.empty());
}

// The shell moves its controls on its own terms when the picker is resized; ours are placed
// afterwards, every time.
void TShellFolderPicker::LayOut() {
  RECT client;
  ::GetClientRect(picker_, &client);
  const TPickerLayout layout = LayOutFolderPicker({static_cast<int>(client.right), static_cast<int>(client.bottom)});
  PlaceWindow(::GetDlgItem(picker_, ShellNewFolderId), layout.CreateFolder);
  PlaceWindow(::GetDlgItem(picker_, DeleteButtonId), layout.Delete);
  PlaceWindow(::GetDlgItem(picker_, ShellTreeId), layout.Tree);
  PlaceWindow(status_, layout.Status);
  PlaceWindow(::GetDlgItem(picker_, IDOK), layout.Ok);
  PlaceWindow(::GetDlgItem(picker_, IDCANCEL), layout.Cancel);
}

// Moves the selected folder to the recycle bin (the shell asks first) and selects its parent.
void TShellFolderPicker::DeleteSelectedFolder() {
  if (selectedPath_.empty()) return;
  const std::string doomed = FolderTextFromPath(selectedPath_);
  std::string from = doomed;
  from.append(2, '\0');  // the shell's list of names ends in an empty one
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = picker_;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO;
  if (::SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) return;
  const size_t cut = doomed.find_last_of('\\');
  if (cut != std::string::npos) {
    const std::string parent = FolderTextFromPath(doomed.substr(0, cut + 1));
    ::SendMessageA(picker_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(parent.c_str()));
  }
  // The shell may still be refreshing its tree and refuse the new selection: then at least
  // nothing offers the deleted folder any longer.
  if (FolderTextFromPath(selectedPath_) == doomed) OnSelectionChanged(nullptr);
}

LRESULT CALLBACK TShellFolderPicker::PickerSubclass(HWND picker, UINT message, WPARAM wParam, LPARAM lParam,
                                                    UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TShellFolderPicker*>(data);
  switch (message) {
    case WM_SIZE: {
      const LRESULT result = ::DefSubclassProc(picker, message, wParam, lParam);
      GuardedCall([&] { self->LayOut(); });
      return result;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == DeleteButtonId) {
        GuardedCall([&] { self->DeleteSelectedFolder(); });
        return 0;
      }
      break;
    case WM_DESTROY: {
      // The size is kept for the next opening.
      RECT frame;
      if (::GetWindowRect(picker, &frame)) self->lastFrame_ = frame;
      ::RemoveWindowSubclass(picker, PickerSubclass, PickerSubclassId);
      break;
    }
  }
  return ::DefSubclassProc(picker, message, wParam, lParam);
}
