#pragma once
// The game's install record: the key its installer leaves under HKEY_LOCAL_MACHINE, whose text
// value "Folder" names the install folder. Read only, never written.
#include <optional>
#include <string>

inline constexpr const char* GameInstallKeyPath = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";
inline constexpr const char* GameInstallFolderValue = "Folder";

// Nothing when the key cannot be opened (missing, or full access refused); otherwise the text of
// "Folder": empty when the value is missing, unexpanded, up to its first NUL. The key is opened in
// the registry's 32-bit view, as the 32-bit game sees it. A value of a non-text type raises
// ERegistryException "Invalid data type for 'Folder'".
std::optional<std::string> ReadGameInstallFolder(const std::string& keyPath = GameInstallKeyPath);
