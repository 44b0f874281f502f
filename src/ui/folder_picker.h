#pragma once
// FolderDialog: the one folder picker the nine folder buttons share. It opens at the folder last
// accepted in this run (first time: the top of the shell's tree), is resizable and keeps its size
// for the rest of the run; "Create Folder" and "Delete" above the tree, a status line with the
// selected folder's path below it. COM must be initialised on the calling thread.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

class IFolderPicker {
public:
  virtual ~IFolderPicker() = default;
  // The accepted folder's edit text (FolderTextFromPath; "" for a virtual folder), or nothing
  // when the user cancels or closes the picker.
  virtual std::optional<std::string> PickFolder(HWND owner) = 0;
};

class TShellFolderPicker : public IFolderPicker {
public:
  std::optional<std::string> PickFolder(HWND owner) override;

private:
  struct TItemListDeleter {
    void operator()(ITEMIDLIST* items) const noexcept { ::CoTaskMemFree(items); }
  };
  using TItemList = std::unique_ptr<ITEMIDLIST, TItemListDeleter>;

  static int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM lParam, LPARAM data);
  static LRESULT CALLBACK PickerSubclass(HWND picker, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
  void OnInitialized(HWND picker);
  void OnSelectionChanged(const ITEMIDLIST* selected);
  void LayOut();
  void DeleteSelectedFolder();

  TItemList lastAccepted_;
  std::optional<RECT> lastFrame_;  // the picker's size, kept across openings
  // Of the opening in progress.
  HWND picker_ = nullptr;
  HWND status_ = nullptr;
  std::string selectedPath_;  // "" for a virtual folder
};
