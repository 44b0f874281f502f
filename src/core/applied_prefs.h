#pragma once
// The applied preferences: the nine folders, each as AddTrailingBackslash left it (empty, a drive
// such as D:\, one or two other characters unchanged, or ending in '\'), and the two options.
// Held by the preferences dialog; everything else reads them, anew at each use, and writes none.
#include <string>

struct TAppliedPrefs {
  std::string SystemPath;
  std::string MapPath;
  std::string TexturePath;
  std::string SoundPath;
  std::string MusicPath;
  std::string MeshPath;
  std::string AnimationPath;
  std::string KarmaPath;
  std::string CachePath;
  bool AutoRegMutators = false;
  bool PromptMutReg = false;

  bool operator==(const TAppliedPrefs&) const = default;
};
