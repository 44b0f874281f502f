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
