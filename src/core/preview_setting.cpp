#include "core/preview_setting.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/preferences.h"

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
  const TKeyCloser closer(store);
  // A key that cannot be made refuses the value as well: the same error.
  (void)store.OpenOrCreateKey();
  WriteOption(store, PreviewPaneValueName, shown);
}
