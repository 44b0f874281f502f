#include "job/game_install.h"

#include "core/exceptions.h"

namespace {

constexpr const char* InvalidDataTypeText = "Invalid data type for '%s'";
constexpr const char* FailedToGetDataText = "Failed to get data for '%s'";

bool IsText(const TRegistryRead& read) { return read.Type == REG_SZ || read.Type == REG_EXPAND_SZ; }

std::string TextUpToNul(std::string bytes) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) bytes.resize(nul);
  return bytes;
}

}  // namespace

std::optional<std::string> ReadGameInstallFolder(const TRegistryPlace& place) {
  const TRegKey key = OpenRegistryKeyToRead(place);
  if (!key) return std::nullopt;
  TRegistryRead read = ReadRegistryValue(key.Get(), GameInstallFolderValue);
  if (read.Status == ERROR_FILE_NOT_FOUND) return std::string();
  if (read.Status != ERROR_SUCCESS)
    throw ERegistryException(FormatText(FailedToGetDataText, GameInstallFolderValue));
  if (!IsText(read)) throw ERegistryException(FormatText(InvalidDataTypeText, GameInstallFolderValue));
  return TextUpToNul(std::move(read.Bytes));
}

std::optional<std::string> ReadStoreClientFolder(const TRegistryPlace& place) {
  const TRegKey key = OpenRegistryKeyToRead(place);
  if (!key) return std::nullopt;
  TRegistryRead read = ReadRegistryValue(key.Get(), StoreClientFolderValue);
  if (read.Status != ERROR_SUCCESS || !IsText(read)) return std::nullopt;
  return TextUpToNul(std::move(read.Bytes));
}
