#pragma once
// A game folder for the main job's tests, below a temporary folder: the nine game folders, the
// preferences that name them, and a cache index with its payload files.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win_handles.h"
#include "prefs/applied_prefs.h"
#include "support/test_files.h"

class TGameFolder {
public:
  TTempFolder Temp;
  std::string Root;
  TAppliedPrefs Prefs;

  TGameFolder() : Root(Temp.Sub("Game\\", true)) {
    Prefs.SystemPath = Folder("System\\");
    Prefs.MapPath = Folder("Maps\\");
    Prefs.TexturePath = Folder("Textures\\");
    Prefs.SoundPath = Folder("Sounds\\");
    Prefs.MusicPath = Folder("Music\\");
    Prefs.MeshPath = Folder("StaticMeshes\\");
    Prefs.AnimationPath = Folder("Animations\\");
    Prefs.KarmaPath = Folder("KarmaData\\");
    Prefs.CachePath = Folder("Cache\\");
  }

  std::string IndexPath() const { return Prefs.CachePath + "cache.ini"; }
  std::string PayloadPath(const std::string& key) const { return Prefs.CachePath + key + ".uxx"; }

  // A realistic entry line for the payload n, whose file is written with the given bytes.
  std::string Entry(uint32_t n, const std::string& name, const std::string& payload) const {
    WriteFileBytes(PayloadPath(Key(n)), payload);
    return Key(n) + "=" + name;
  }
  static std::string Key(uint32_t n) { return CacheGuid(n) + "-1"; }

  void WriteIndex(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") const {
    WriteFileBytes(IndexPath(), Joined(lines, lineEnd));
  }
  static std::string Joined(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd;
    return text;
  }

  // The names in a folder, sorted, without "." and "..".
  static std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    TFindHandle search(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (!search) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search.Get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  std::string Folder(const std::string& relative) const {
    MakeFolders(Root + relative);
    return Root + relative;
  }
};
