#pragma once
// Whether the main window shows its preview pane, kept with the preferences as the number value
// "PreviewPane" (1 shown, 0 not). It is not one of the preferences the dialog edits: the View
// menu turns it on and off, and the window reads it when it is made.
#include "core/prefs_store.h"

inline constexpr const char* PreviewPaneValueName = "PreviewPane";

// False when the key or the value is missing, or the value is no number: the pane is off until
// the user turns it on.
bool LoadPreviewPaneShown(IPrefsStore& store);
// Raises ERegistryException ("Failed to set data for 'PreviewPane'") when the store refuses.
void SavePreviewPaneShown(IPrefsStore& store, bool shown);
