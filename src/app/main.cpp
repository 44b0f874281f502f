// Pellorin's entry point: OLE and the common controls for the user-interface thread, the
// application's title, the main window and then the preferences dialog (whose first-run set-up
// may already open the cache and show its boxes), the main window shown, the message loop.
// Closing the main window ends the program; nothing is saved on the way out.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "job/registry_prefs_store.h"
#include "ui/folder_picker.h"
#include "ui/message_dialog.h"
#include "ui/pn_mainform.h"
#include "ui/pn_preferences.h"
#include "win/application.h"

namespace {

constexpr const char* ApplicationTitle = "Pellorin v1.1";

// OLE (and with it COM, single-threaded) for this thread from the first window to exit; the
// shell's folder picker needs it.
class TOleSession {
public:
  TOleSession() : initialised_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~TOleSession() {
    if (initialised_) ::OleUninitialize();
  }
  TOleSession(const TOleSession&) = delete;
  TOleSession& operator=(const TOleSession&) = delete;

private:
  bool initialised_;
};

bool StartsMinimised(int showCommand) {
  return showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINNOACTIVE ||
         showCommand == SW_FORCEMINIMIZE;
}

void RunProgram(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&classes);
  Application.Title = ApplicationTitle;
  // The application window comes first: it owns the main window and carries the taskbar button.
  Application.CreateHandle(instance);

  TMessageDialogs messageBoxes;
  TRegistryPrefsStore prefsStore;
  TRegistryPrefsStore viewSettings;  // the preview pane's, beside the preferences
  TShellFolderPicker folderDialog;
  // The windows are made in this order and go in the reverse one.
  TMainForm mainForm(instance, TMainFormServices{[]() -> const TAppliedPrefs& { return PrefsForm->Applied(); },
                                                 [](HWND owner) { PrefsForm->ShowModal(owner); }, &messageBoxes,
                                                 &viewSettings});
  TPrefsForm prefsForm(prefsStore, mainForm, messageBoxes, folderDialog);
  prefsForm.Create();

  Application.ShowHandle();
  if (StartsMinimised(showCommand))
    Application.Minimize();
  else
    mainForm.Show(showCommand);
  Application.AddDialogNavigation(mainForm.Handle());
  Application.Run(mainForm.Handle(), mainForm.Accelerators());
  Application.RemoveDialogNavigation(mainForm.Handle());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  TOleSession ole;
  GuardedCall([&] { RunProgram(instance, showCommand); });
  return 0;
}
