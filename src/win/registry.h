#pragma once
// Reading the registry: opening a key to read it, and the one routine that reads a value whole.
#include <windows.h>

#include <string>

#include "win/handles.h"

struct TRegistryRead {
  LONG Status = ERROR_FILE_NOT_FOUND;  // ERROR_SUCCESS, or why the value could not be read
  DWORD Type = REG_NONE;
  std::string Bytes;  // as stored, a text's terminating zero included
};

// The value name of the open key, read whole: the size is asked first, and the read is repeated
// while the value grows in between.
TRegistryRead ReadRegistryValue(HKEY key, const char* name);

enum class TRegistryHive { LocalMachine, CurrentUser };
// The registry's two views on 64-bit Windows; each is asked for explicitly, so that a 32-bit and
// a 64-bit build of the program read the same key.
enum class TRegistryView { Bits32, Bits64 };

// A key of another program's, read and never written.
struct TRegistryPlace {
  TRegistryHive Hive = TRegistryHive::LocalMachine;
  TRegistryView View = TRegistryView::Bits32;
  std::string Key;
};

// Opens the key without creating it, asking for full access as the program always has, and for
// read access where full access is refused: reading must never need write rights. An empty owner
// when the key cannot be opened at all.
TRegKey OpenRegistryKeyToRead(const TRegistryPlace& place);
