#include "win/registry.h"

TRegistryRead ReadRegistryValue(HKEY key, const char* name) {
  TRegistryRead read;
  DWORD size = 0;
  read.Status = ::RegQueryValueExA(key, name, nullptr, &read.Type, nullptr, &size);
  while (read.Status == ERROR_SUCCESS && size != 0) {
    read.Bytes.resize(size);
    read.Status = ::RegQueryValueExA(key, name, nullptr, &read.Type, reinterpret_cast<BYTE*>(read.Bytes.data()), &size);
    if (read.Status == ERROR_SUCCESS) {
      read.Bytes.resize(size);
      break;
    }
    if (read.Status == ERROR_MORE_DATA) read.Status = ERROR_SUCCESS;  // grown since: once more
  }
  if (read.Status != ERROR_SUCCESS) read.Bytes.clear();
  return read;
}

TRegKey OpenRegistryKeyToRead(const TRegistryPlace& place) {
  HKEY root = place.Hive == TRegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const REGSAM view = place.View == TRegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  HKEY opened = nullptr;
  LONG status = ::RegOpenKeyExA(root, place.Key.c_str(), 0, KEY_ALL_ACCESS | view, &opened);
  if (status == ERROR_ACCESS_DENIED) status = ::RegOpenKeyExA(root, place.Key.c_str(), 0, KEY_READ | view, &opened);
  return TRegKey(status == ERROR_SUCCESS ? opened : nullptr);
}
