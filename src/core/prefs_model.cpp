#include "core/prefs_model.h"

const std::array<TFolderPref, FolderPrefCount> FolderPrefs = {{
    {"System", "SystemPath", "System\\", &TAppliedPrefs::SystemPath},
    {"Maps", "MapPath", "Maps\\", &TAppliedPrefs::MapPath},
    {"Textures", "TexturePath", "Textures\\", &TAppliedPrefs::TexturePath},
    {"Sounds", "SoundPath", "Sounds\\", &TAppliedPrefs::SoundPath},
    {"Music", "MusicPath", "Music\\", &TAppliedPrefs::MusicPath},
    {"Meshes", "MeshPath", "StaticMeshes\\", &TAppliedPrefs::MeshPath},
    {"Animations", "AnimationPath", "Animations\\", &TAppliedPrefs::AnimationPath},
    {"Karma data", "KarmaPath", "KarmaData\\", &TAppliedPrefs::KarmaPath},
    {"Cache", "CachePath", "Cache\\", &TAppliedPrefs::CachePath},
}};

void TEditablePrefs::SetRegMutsChecked(bool checked) {
  if (checked == regMutsChecked_) return;
  regMutsChecked_ = checked;
  promptMutsEnabled_ = checked;
}

void FillDefaultPaths(TEditablePrefs& prefs, const std::string& gameRoot) {
  for (size_t i = 0; i < FolderPrefs.size(); ++i)
    prefs.FolderTexts[i] = gameRoot + FolderPrefs[i].DefaultFolder;
}
