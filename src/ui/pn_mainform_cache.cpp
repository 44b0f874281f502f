// The main window's commands that take packages out of the cache: Remove from Cache, from the
// context menu or the Delete key, and Clean Up Cache.
#include "ui/pn_mainform.h"

#include <commctrl.h>

void TMainForm::RemoveFromCache1Click() { commands_.RemoveFromCache1Click(popupRow_); }

void TMainForm::lvCacheItemsDeleteKey() { commands_.RemoveFromCache1Click(NextRowWith(LVNI_SELECTED)); }

void TMainForm::CleanUpCache1Click() { commands_.CleanUpCache1Click(cleanUpDialog_); }
