#pragma once
// An in-memory preferences store for tests: one key that exists or not, its values, and scripted
// refusals (the key cannot be opened or created, a given value cannot be written).
#include <map>
#include <set>
#include <string>

#include "core/prefs_store.h"

class TMemoryPrefsStore : public IPrefsStore {
public:
  bool KeyExists = false;
  bool RefuseOpen = false;               // both opening operations fail
  std::set<std::string> RefusedWrites;   // value names whose write fails
  std::map<std::string, TStoredValue> Values;

  bool KeyOpen() const { return keyOpen_; }
  int OpenCount() const { return openCount_; }
  int CloseCount() const { return closeCount_; }

  // Shorthands for arranging stored data.
  void PutString(const std::string& name, const std::string& text,
                 TPrefsValueType type = TPrefsValueType::String);  // stored with its zero byte
  void PutDWord(const std::string& name, uint32_t number);

  bool OpenKey() override;
  bool OpenOrCreateKey() override;
  TQueryResult QueryValue(const std::string& name, size_t maxBytes) override;
  bool SetValue(const std::string& name, const TStoredValue& value) override;
  void CloseKey() override;

private:
  bool keyOpen_ = false;
  int openCount_ = 0;
  int closeCount_ = 0;
};
