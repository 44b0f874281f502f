#include "core/memory_prefs_store.h"

void TMemoryPrefsStore::PutString(const std::string& name, const std::string& text,
                                  TPrefsValueType type) {
  Values[name] = TStoredValue{type, text + '\0'};
}

void TMemoryPrefsStore::PutDWord(const std::string& name, uint32_t number) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  Values[name] = TStoredValue{TPrefsValueType::DWord, bytes};
}

bool TMemoryPrefsStore::OpenKey() {
  ++openCount_;
  keyOpen_ = KeyExists && !RefuseOpen;
  return keyOpen_;
}

bool TMemoryPrefsStore::OpenOrCreateKey() {
  ++openCount_;
  if (RefuseOpen) return keyOpen_ = false;
  KeyExists = true;
  return keyOpen_ = true;
}

IPrefsStore::TQueryResult TMemoryPrefsStore::QueryValue(const std::string& name, size_t maxBytes) {
  TQueryResult result;
  if (!keyOpen_) return result;
  const auto found = Values.find(name);
  if (found == Values.end()) return result;
  if (found->second.Data.size() > maxBytes) {
    result.TooLong = true;
    return result;
  }
  result.Value = found->second;
  return result;
}

bool TMemoryPrefsStore::SetValue(const std::string& name, const TStoredValue& value) {
  if (!keyOpen_ || RefusedWrites.count(name) != 0) return false;
  Values[name] = value;
  return true;
}

void TMemoryPrefsStore::CloseKey() {
  if (keyOpen_) ++closeCount_;
  keyOpen_ = false;
}
