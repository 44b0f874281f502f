#include "job/game_install.h"

#include <windows.h>

#include "core/exceptions.h"
#include "win/handles.h"
#include "win/registry.h"

namespace {

constexpr const char* InvalidDataTypeText = "Invalid data type for '%s'";
constexpr const char* FailedToGetDataText = "Failed to get data for '%s'";

std::string ReadTextValue(HKEY key, const char* name) {
  TRegistryRead read = ReadRegistryValue(key, name);
  if (read.Status == ERROR_FILE_NOT_FOUND) return {};
  if (read.Status != ERROR_SUCCESS) throw ERegistryException(FormatText(FailedToGetDataText, name));
  if (read.Type != REG_SZ && read.Type != REG_EXPAND_SZ) throw ERegistryException(FormatText(InvalidDataTypeText, name));
  const size_t nul = read.Bytes.find('\0');
  if (nul != std::string::npos) read.Bytes.resize(nul);
  return read.Bytes;
}

}  // namespace

std::optional<std::string> ReadGameInstallFolder(const std::string& keyPath) {
  TRegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, key.Put()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return ReadTextValue(key.Get(), GameInstallFolderValue);
}
