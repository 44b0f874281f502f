#pragma once
// Reading the registry: the one routine that reads a value whole.
#include <windows.h>

#include <string>

struct TRegistryRead {
  LONG Status = ERROR_FILE_NOT_FOUND;  // ERROR_SUCCESS, or why the value could not be read
  DWORD Type = REG_NONE;
  std::string Bytes;  // as stored, a text's terminating zero included
};

// The value name of the open key, read whole: the size is asked first, and the read is repeated
// while the value grows in between.
TRegistryRead ReadRegistryValue(HKEY key, const char* name);
