#include "job/game_install.h"

#include <windows.h>

#include "core/exceptions.h"
#include "win/handles.h"

namespace {

constexpr const char* InvalidDataTypeText = "Invalid data type for '%s'";
constexpr const char* FailedToGetDataText = "Failed to get data for '%s'";

std::string ReadTextValue(HKEY key, const char* name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG status = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return {};
  std::string data;
  // The value may grow between the size query and the read: ask again until it fits.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(FormatText(InvalidDataTypeText, name));
    data.resize(size);
    status = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_SUCCESS) {
      if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(FormatText(InvalidDataTypeText, name));
      data.resize(size);
      const size_t nul = data.find('\0');
      if (nul != std::string::npos) data.resize(nul);
      return data;
    }
  }
  if (status == ERROR_FILE_NOT_FOUND) return {};
  throw ERegistryException(FormatText(FailedToGetDataText, name));
}

}  // namespace

std::optional<std::string> ReadGameInstallFolder(const std::string& keyPath) {
  TRegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, key.Put()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return ReadTextValue(key.Get(), GameInstallFolderValue);
}
