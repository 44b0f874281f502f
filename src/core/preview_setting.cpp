#include "core/preview_setting.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/exceptions.h"
#include "core/prefs_texts.h"

bool LoadPreviewPaneShown(IPrefsStore& store) {
  if (!store.OpenKey()) {
    store.CloseKey();
    return false;
  }
  const auto query = store.QueryValue(PreviewPaneValueName, sizeof(uint32_t));
  store.CloseKey();
  if (!query.Value || query.Value->Type != TPrefsValueType::DWord) return false;
  uint32_t number = 0;
  std::memcpy(&number, query.Value->Data.data(), std::min(query.Value->Data.size(), sizeof number));
  return number != 0;
}

void SavePreviewPaneShown(IPrefsStore& store, bool shown) {
  const uint32_t number = shown ? 1 : 0;
  std::string bytes(sizeof number, '\0');
  std::memcpy(bytes.data(), &number, sizeof number);
  const bool saved = store.OpenOrCreateKey() && store.SetValue(PreviewPaneValueName, {TPrefsValueType::DWord, bytes});
  store.CloseKey();
  if (!saved) throw ERegistryException(FormatText(PrefsTexts::FailedToSetData, PreviewPaneValueName));
}
