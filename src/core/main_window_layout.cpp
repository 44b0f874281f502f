#include "core/main_window_layout.h"

#include <algorithm>

TMainLayout LayOutMainWindow(TPixelSize client, int statusHeight) {
  TMainLayout layout;
  const int width = std::max(client.Width, 0);
  const int height = std::max(client.Height, 0);
  layout.Status = {0, height - statusHeight, width, statusHeight};
  layout.Progress = {0, layout.Status.Top - MainProgressHeight, width, MainProgressHeight};
  const int buttonsTop = height - MainButtonsBottomGap;
  layout.OpenCache = {8, buttonsTop, 113, 41};
  layout.CopySelected = {128, buttonsTop, 153, 41};
  layout.List = {0, 0, width, std::max(height - MainListBottomGap, 0)};
  return layout;
}

TListAndPreview SplitForPreview(const TPixelRect& listPlace) {
  const int paneWidth = std::min(PreviewPaneWidth, listPlace.Width / 2);
  return {{listPlace.Left, listPlace.Top, listPlace.Width - paneWidth, listPlace.Height},
          {listPlace.Right() - paneWidth, listPlace.Top, paneWidth, listPlace.Height}};
}
