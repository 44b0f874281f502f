#include "core/preferences.h"

#include <cstring>

#include "core/exceptions.h"
#include "core/prefs_texts.h"
#include "core/text_rules.h"

namespace {

// A missing or empty value reads as the empty text; environment references are kept as written.
std::string ReadString(IPrefsStore& store, const char* name) {
  const auto query = store.QueryValue(name, AllBytes);
  if (!query.Value || query.Value->Data.empty()) return {};
  const TStoredValue& value = *query.Value;
  if (value.Type != TPrefsValueType::String && value.Type != TPrefsValueType::ExpandString)
    throw ERegistryException(FormatText(PrefsTexts::InvalidDataType, name));
  return std::string(value.Data.c_str());  // up to the first zero byte
}

// At most four bytes are read: a missing value or longer data cannot be an option.
bool ReadOption(IPrefsStore& store, const char* name) {
  const auto query = store.QueryValue(name, sizeof(uint32_t));
  if (!query.Value) throw ERegistryException(FormatText(PrefsTexts::FailedToGetData, name));
  if (query.Value->Type != TPrefsValueType::DWord)
    throw ERegistryException(FormatText(PrefsTexts::InvalidDataType, name));
  uint32_t number = 0;
  std::memcpy(&number, query.Value->Data.data(), query.Value->Data.size());
  return number != 0;
}

void WriteValue(IPrefsStore& store, const char* name, const TStoredValue& value) {
  if (!store.SetValue(name, value))
    throw ERegistryException(FormatText(PrefsTexts::FailedToSetData, name));
}

void WriteString(IPrefsStore& store, const char* name, const std::string& text) {
  WriteValue(store, name, TStoredValue{TPrefsValueType::String, text + '\0'});
}

}  // namespace

void WriteOption(IPrefsStore& store, const char* name, bool checked) {
  const uint32_t number = checked ? 1 : 0;
  std::string bytes(sizeof number, '\0');
  std::memcpy(bytes.data(), &number, sizeof number);
  WriteValue(store, name, TStoredValue{TPrefsValueType::DWord, bytes});
}

bool TPreferences::LoadPrefs() {
  if (!store_.OpenKey()) {
    store_.CloseKey();
    return false;
  }
  TKeyCloser closer(store_);
  // Each text is placed at once, so a later failure leaves the earlier ones shown.
  for (size_t i = 0; i < FolderPrefs.size(); ++i)
    Editable.FolderTexts[i] = ReadString(store_, FolderPrefs[i].ValueName);
  Editable.SetRegMutsChecked(ReadOption(store_, AutoRegMutatorsValueName));
  Editable.SetPromptMutsChecked(ReadOption(store_, PromptMutRegValueName));
  ApplyPrefs();
  return true;
}

void TPreferences::SavePrefs() {
  // A key that could not be opened or created shows as the refusal of the first write.
  store_.OpenOrCreateKey();
  TKeyCloser closer(store_);
  for (size_t i = 0; i < FolderPrefs.size(); ++i)
    WriteString(store_, FolderPrefs[i].ValueName, Editable.FolderTexts[i]);
  WriteOption(store_, AutoRegMutatorsValueName, Editable.RegMutsChecked());
  WriteOption(store_, PromptMutRegValueName, Editable.PromptMutsChecked());
}

void TPreferences::ApplyPrefs() {
  for (size_t i = 0; i < FolderPrefs.size(); ++i)
    Applied.*FolderPrefs[i].Applied = AddTrailingBackslash(Editable.FolderTexts[i]);
  Applied.AutoRegMutators = Editable.RegMutsChecked();
  Applied.PromptMutReg = Editable.PromptMutsChecked();
}
