#include "job/registry_prefs_store.h"

#include <utility>

#include "win/registry.h"

TRegistryPrefsStore::TRegistryPrefsStore(HKEY root, std::string keyPath, REGSAM access)
    : root_(root), keyPath_(std::move(keyPath)), access_(access) {}

bool TRegistryPrefsStore::OpenKey() {
  key_.Reset();
  return ::RegOpenKeyExA(root_, keyPath_.c_str(), 0, access_, key_.Put()) == ERROR_SUCCESS;
}

bool TRegistryPrefsStore::OpenOrCreateKey() {
  key_.Reset();
  return ::RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_,
                           nullptr, key_.Put(), nullptr) == ERROR_SUCCESS;
}

IPrefsStore::TQueryResult TRegistryPrefsStore::QueryValue(const std::string& name,
                                                          size_t maxBytes) {
  TQueryResult result;
  if (!key_) return result;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (maxBytes == AllBytes) {
    const TRegistryRead read = ReadRegistryValue(key_.Get(), name.c_str());
    if (read.Status == ERROR_SUCCESS) result.Value = TStoredValue{static_cast<TPrefsValueType>(read.Type), read.Bytes};
    return result;
  }
  std::string data(maxBytes, '\0');
  size = static_cast<DWORD>(maxBytes);
  const LONG status = ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &size);
  if (status == ERROR_MORE_DATA) {
    result.TooLong = true;
    return result;
  }
  if (status != ERROR_SUCCESS) return result;
  data.resize(size);
  result.Value = TStoredValue{static_cast<TPrefsValueType>(type), data};
  return result;
}

bool TRegistryPrefsStore::SetValue(const std::string& name, const TStoredValue& value) {
  if (!key_) return false;
  return ::RegSetValueExA(key_.Get(), name.c_str(), 0, static_cast<DWORD>(value.Type),
                          reinterpret_cast<const BYTE*>(value.Data.data()),
                          static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
}

void TRegistryPrefsStore::CloseKey() { key_.Reset(); }
