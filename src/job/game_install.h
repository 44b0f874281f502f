#pragma once
// Other programs' records of where the game lies, read and never written: the install record its
// installers leave (text value "Folder"), and the store client's own folder, whose library list
// may name the game's. Every name of another program's data is here, in one place.
#include <optional>
#include <string>

#include "win/registry.h"

inline constexpr const char* GameInstallKeyPath = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";
inline constexpr const char* GameInstallFolderValue = "Folder";
inline constexpr const char* StoreClientKeyPath = "Software\\Valve\\Steam";
inline constexpr const char* StoreClientFolderValue = "SteamPath";
inline constexpr const char* StoreLibraryListBelowClient = "steamapps\\libraryfolders.vdf";
inline constexpr const char* GameBelowStoreLibrary = "steamapps\\common\\Unreal Tournament 2004\\";
inline constexpr const char* UsualGameFolders[] = {"C:\\UT2004\\", "C:\\UnrealTournament2004\\"};
inline constexpr const char* UsualFolderBelowProgramFiles = "Unreal Tournament 2004\\";
inline constexpr const char* ProgramFilesVariables[] = {"ProgramFiles(x86)", "ProgramFiles"};

// Nothing when the key cannot be opened; otherwise the text of "Folder": empty when the value is
// missing, unexpanded, up to its first NUL. A value of a non-text type raises ERegistryException
// "Invalid data type for 'Folder'".
std::optional<std::string> ReadGameInstallFolder(const TRegistryPlace& place);

// The store client's folder as its record names it; nothing when the key cannot be opened or the
// value is missing or no text (another program's record: the search goes on without it).
std::optional<std::string> ReadStoreClientFolder(const TRegistryPlace& place);
