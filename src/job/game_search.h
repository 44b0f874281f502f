#pragma once
// Finding the game wherever it is installed, and the cache folder it uses.
#include <optional>
#include <string>
#include <vector>

#include "win/registry.h"

// Where the game is looked for, in this order. Tests give places of their own.
struct TGameSearchPlaces {
  // Install records (value "Folder"): the first whose folder exists and holds System\ wins.
  std::vector<TRegistryPlace> InstallRecords;
  // The store client's record: its folder and the libraries its library list names.
  TRegistryPlace StoreClient;
  // Folders the game is often installed in, each ending in '\'.
  std::vector<std::string> UsualFolders;

  // This machine's places: the records of the local machine (32-bit view first, where the game's
  // own installer writes) and then of the user (where the store edition writes), the store
  // client of the user, and the usual folders, Program Files' from the environment.
  static TGameSearchPlaces Standard();
};

struct TFoundGame {
  std::string Root;         // ending in '\'
  std::string CacheFolder;  // ending in '\'
};

// The game the places lead to first, or nothing. An install record counts when its folder holds
// System\; a store library or a usual folder only when it holds System\UT2004.ini or
// System\UT2004.exe. A path from the registry, the library list or the environment is used only
// when it is absolute and free of control bytes. A "Folder" value of a non-text type ends the
// search with ERegistryException "Invalid data type for 'Folder'" (no record before it counted).
std::optional<TFoundGame> FindGameFolder(const TGameSearchPlaces& places);

// The cache folder of the game at root: the one its System\UT2004.ini names in [Core.System]
// CachePath, resolved against System\; root followed by "Cache\" when the file, the value or a
// usable path is missing.
std::string GameCacheFolder(const std::string& root);

// The game's settings file below root: System\UT2004.ini.
std::string GameSettingsPath(const std::string& root);

// The whole of a small file that others may have open (the game's settings, the store client's
// library list), or nothing when it cannot be read or is far larger than such a file.
std::optional<std::string> ReadSmallFile(const std::string& path);
