#pragma once
// The preferences store in the Windows registry. Each operation opens the key afresh and the key
// is closed at the end of the operation (CloseKey); nothing forces a flush to disk.
#include <windows.h>

#include <string>

#include "core/prefs_store.h"
#include "win/handles.h"

// Where the preferences live, below HKEY_LOCAL_MACHINE; given with its trailing backslash.
inline constexpr const char* PrefsKeyPath = "Software\\Morvane\\Pellorin\\";

class TRegistryPrefsStore : public IPrefsStore {
public:
  explicit TRegistryPrefsStore(HKEY root = HKEY_LOCAL_MACHINE, std::string keyPath = PrefsKeyPath,
                               REGSAM access = KEY_ALL_ACCESS);

  bool OpenKey() override;
  bool OpenOrCreateKey() override;
  TQueryResult QueryValue(const std::string& name, size_t maxBytes) override;
  bool SetValue(const std::string& name, const TStoredValue& value) override;
  void CloseKey() override;

private:
  HKEY root_;
  std::string keyPath_;
  REGSAM access_;
  TRegKey key_;
};
