#pragma once
// The three paths between the copies of the preferences: store to editable copy and on to the
// applied values (LoadPrefs), editable copy to store (SavePrefs), editable copy to applied values
// (ApplyPrefs). Failures raise ERegistryException naming the value.
#include "core/applied_prefs.h"
#include "core/prefs_model.h"
#include "core/prefs_store.h"

// Closes the store's key when an operation ends, whichever way it ends.
class TKeyCloser {
public:
  explicit TKeyCloser(IPrefsStore& store) : store_(store) {}
  ~TKeyCloser() { store_.CloseKey(); }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;

private:
  IPrefsStore& store_;
};

// Writes an option into the store's open key as the number 1 or 0; raises ERegistryException
// ("Failed to set data for '<name>'") when the store refuses.
void WriteOption(IPrefsStore& store, const char* name, bool checked);

class TPreferences {
public:
  explicit TPreferences(IPrefsStore& store) : store_(store) {}

  TEditablePrefs Editable;
  TAppliedPrefs Applied;

  // True when the key was opened and all eleven values were read, placed and applied; false,
  // with nothing changed, when the key cannot be opened. A failing value stops the load with the
  // folder texts read so far already placed in Editable and Applied untouched.
  bool LoadPrefs();
  // Writes the raw texts and the two options; Applied is not touched.
  void SavePrefs();
  // Applied := the editable copy, each folder with its trailing backslash normalised.
  void ApplyPrefs();

private:
  IPrefsStore& store_;
};
