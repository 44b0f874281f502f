#pragma once
// Where every control of the preferences dialog sits, in client pixels, and the rule for the
// text a picked folder puts into an edit. No window needed.
#include <string>
#include <vector>

#include "core/window_layout.h"

inline constexpr TPixelSize PrefsClientSize{463, 409};
inline constexpr TPixelRect PathsPanelRect{8, 8, 449, 265};
inline constexpr TPixelRect OptionsPanelRect{8, 280, 449, 89};
// The heading's band at the top of a panel; a black line runs under it.
inline constexpr int PanelHeadingHeight = 20;

// The dialog's controls by their part; the folder rows' label, edit and button come once per row.
enum class TPrefsControl {
  PathsPanel, OptionsPanel, RegMutators, PromptMutators, QuickPath, Save, Cancel,
  FolderLabel, FolderEdit, FolderButton
};

struct TControlPlace {
  TPrefsControl Control;
  int Row;  // the folder row (0 for the system folder) of a row's control; 0 otherwise
  TPixelRect Rect;
};

// Every control of the dialog template with its place.
const std::vector<TControlPlace>& PrefsControlPlaces();

// The folder picker's own arrangement, redone at every size: "Create Folder" and "Delete" above
// the tree, the status line with the selected path under it, OK and Cancel at the bottom right.
struct TPickerLayout {
  TPixelRect CreateFolder, Delete, Tree, Status, Ok, Cancel;
};
TPickerLayout LayOutFolderPicker(TPixelSize client);

// The text an accepted folder puts into its edit: the path without a final backslash, except
// for the root of a drive ("C:\"); no file-system path (a virtual folder) gives "".
std::string FolderTextFromPath(const std::string& fileSystemPath);
