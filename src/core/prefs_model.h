#pragma once
// The nine folder preferences in the order every operation visits them, and the editable copy:
// the raw texts of the dialog's nine edits and the states of its two check boxes.
#include <array>
#include <cstddef>
#include <string>

#include "core/applied_prefs.h"

struct TFolderPref {
  const char* Label;          // the dialog's row label, "System" ... "Cache"
  const char* ValueName;      // the registry value, "SystemPath" ... "CachePath"
  const char* DefaultFolder;  // below the game's root, "System\\" ... "Cache\\"
  std::string TAppliedPrefs::*Applied;
};

inline constexpr size_t FolderPrefCount = 9;
extern const std::array<TFolderPref, FolderPrefCount> FolderPrefs;

inline constexpr const char* AutoRegMutatorsValueName = "AutoRegMutators";
inline constexpr const char* PromptMutRegValueName = "PromptMutReg";

// Texts exactly as typed, loaded or defaulted; nothing here normalises them.
class TEditablePrefs {
public:
  std::array<std::string, FolderPrefCount> FolderTexts;  // index as in FolderPrefs

  bool RegMutsChecked() const { return regMutsChecked_; }
  // A change of state also runs the dialog's rule: the prompt option is enabled exactly while
  // automatic registration is checked.
  void SetRegMutsChecked(bool checked);

  bool PromptMutsChecked() const { return promptMutsChecked_; }
  void SetPromptMutsChecked(bool checked) { promptMutsChecked_ = checked; }
  bool PromptMutsEnabled() const { return promptMutsEnabled_; }

  bool operator==(const TEditablePrefs&) const = default;

private:
  bool regMutsChecked_ = true;
  bool promptMutsChecked_ = true;
  bool promptMutsEnabled_ = true;
};

// The "&Default paths" button: each folder text becomes gameRoot followed by its default folder.
// The check boxes are left as they are.
void FillDefaultPaths(TEditablePrefs& prefs, const std::string& gameRoot);
